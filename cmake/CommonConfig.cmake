# Flags shared by every target of our own code.
add_library(zelvarin_common INTERFACE)
target_compile_features(zelvarin_common INTERFACE cxx_std_20)
target_compile_options(zelvarin_common INTERFACE -Wall -Wextra -Wpedantic -Werror
  -Wno-error=deprecated-declarations)
target_compile_definitions(zelvarin_common INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS)
target_include_directories(zelvarin_common INTERFACE ${PROJECT_SOURCE_DIR})
if(ZELVARIN_SANITIZE)
  target_compile_options(zelvarin_common INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(zelvarin_common INTERFACE -fsanitize=address,undefined)
endif()
