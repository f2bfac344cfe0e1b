#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <typeindex>
#include <unordered_map>

namespace zel {

class Settings;
class Store;

// What every module window is built with: the base folder, the live settings, the
// archives, and the single instances of the other windows.
class WindowHost;
struct AppContext {
    QString base;
    Settings* settings = nullptr;
    Store* store = nullptr;
    WindowHost* windows = nullptr;
};

// One instance per window class, made on first use and kept for the program's life,
// so that a window's fields keep their contents from one use to the next.
class WindowHost {
public:
    WindowHost(AppContext& ctx, QWidget* owner) : m_ctx(ctx), m_owner(owner) {}

    // T is built as T(AppContext&, QWidget* parent).
    template <class T>
    T& window() {
        QPointer<QWidget>& slot = m_windows[std::type_index(typeid(T))];
        if (!slot) slot = new T(m_ctx, m_owner);
        return static_cast<T&>(*slot);
    }
    template <class T>
    T* existing() const {
        const auto it = m_windows.find(std::type_index(typeid(T)));
        return it == m_windows.end() ? nullptr : static_cast<T*>(it->second.data());
    }

private:
    AppContext& m_ctx;
    QWidget* m_owner;
    std::unordered_map<std::type_index, QPointer<QWidget>> m_windows;
};

}  // namespace zel
