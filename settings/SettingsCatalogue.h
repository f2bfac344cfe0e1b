#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

namespace zel {

enum class SettingType { Bool, Int, Number, Text };

// How a key's default is formed when the file does not have it.
enum class DefaultKind {
    Literal,     // the text as given
    DataPath,    // <base>/Dati/<file>, "@YY@" replaced by the current year suffix
    BaseFolder,  // <base>/
    Yesterday,   // yesterday as dd/MM/yyyy
    NowTime,     // the current time as HH:mm
};

enum class Access {
    ReadWrite,
    ReadOnly,   // read at start, never written by the setup's confirm
    WriteOnly,  // written by the confirm, never read back
};

struct SettingDef {
    QStringView file;
    QStringView section;
    QStringView key;
    SettingType type;
    DefaultKind defaultKind;
    QStringView defaultValue;
    QStringView control;  // object name of the setup control; may be empty
    Access access;
    // A write-only key that is written from another key's control: "Section|Key".
    QStringView valueFrom;
    bool scrambled;
};

// Every settings key of every file, in the order the files are loaded.
std::span<const SettingDef> settingsCatalogue();

inline constexpr char16_t kMainSettingsFile[] = u"zelvarin.ini";
inline constexpr char16_t kPartnerFile[] = u"partner.ini";

// The files in the order they are read at start, and in the order the setup's
// confirm writes them.
QStringList settingsLoadOrder();
QStringList settingsWriteOrder();

}  // namespace zel
