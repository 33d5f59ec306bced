// Checking the display before Qt starts.
#include "display_probe.h"

#include <QDir>
#include <QLibraryInfo>
#include <QStringList>

#include <cstdlib>
#include <dlfcn.h>

namespace ozra::bridge_qt {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool XDisplayOpens() {
    void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return false;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
    bool opens = false;
    if (connect && hasError && disconnect) {
        void* connection = connect(nullptr, nullptr);
        opens = connection && hasError(connection) == 0;
        if (connection) disconnect(connection);
    }
    ::dlclose(xcb);
    return opens;
}

bool PlatformInstalled(const std::string& name) {
    QStringList folders = QString::fromLocal8Bit(qgetenv("QT_PLUGIN_PATH")).split(':', Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    const QString file = "platforms/libq" + QString::fromStdString(name) + ".so";
    for (const QString& folder : folders) {
        if (QDir(folder).exists(file)) return true;
    }
    return false;
}

std::string CannotOpen(const std::string& display) {
    return "cannot open the display \"" + display + "\"";
}

} // namespace

DisplayChoice ChooseDisplay() {
    const std::string display = Variable("DISPLAY");
    const std::string wayland = Variable("WAYLAND_DISPLAY");
    const std::string requested = Variable("QT_QPA_PLATFORM");
    if (!requested.empty()) {
        // A list of fallbacks is Qt's to try.
        if (requested.find(';') != std::string::npos) return {};
        const std::string name = requested.substr(0, requested.find(':'));
        if (!PlatformInstalled(name))
            return {"", "the Qt platform \"" + name + "\" is not installed"};
        if (name == "xcb" && !XDisplayOpens()) return {"", CannotOpen(display)};
        return {};
    }
    if (!display.empty() && XDisplayOpens()) return {"xcb", ""};
    if (!wayland.empty() && PlatformInstalled("wayland")) return {"wayland", ""};
    if (!display.empty()) return {"", CannotOpen(display)};
    if (!wayland.empty()) {
        return {"", "the display \"" + wayland +
                        "\" needs Qt's Wayland platform (qt6-wayland), or set DISPLAY"};
    }
    return {"", "no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)"};
}

} // namespace ozra::bridge_qt
