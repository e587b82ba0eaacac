// Whether Qt can open a display, asked before the application is made: without one, making a
// QApplication aborts the program with Qt's long plugin message.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the command line says about the display; empty where it says nothing.
struct CDisplayOptions {
    std::string strPlatform;    // -platform: Qt's platform plugins to try, separated by ';'
    std::string strPluginPath;  // -platformpluginpath: a folder of platform plugins
    std::string strDisplay;     // -display: the X display (xcb)
};

// Reads one environment variable; an unset one reads as empty.
using FnGetEnv = std::function<std::string(const char* pszName)>;

// The platforms Qt tries, in its order, as Qt 6 chooses them: -platform, else QT_QPA_PLATFORM,
// else wayland first in a Wayland session (WAYLAND_DISPLAY or XDG_SESSION_TYPE=wayland), then
// xcb. Names are lower case, without their ":arguments".
std::vector<std::string> QtPlatformOrder(const std::string& strPlatformOption,
                                         const FnGetEnv& fnGetEnv);

struct CDisplayCheck {
    // Empty when one of the platforms Qt tries can start. Otherwise what was tried, in Qt's
    // order, each with why it cannot start, e.g. "wayland: no Qt platform plugin; xcb: DISPLAY
    // is not set".
    std::string strTried;
    // The connection to the X server that the check opened, closed when the last copy goes. A
    // bare X server resets when its last client leaves: keep it until Qt has its own.
    std::shared_ptr<void> pConnection;
};

// Finds out whether Qt can start on one of its platforms. xcb and wayland are tried by connecting
// to their display; any other platform that has a plugin is left to Qt.
CDisplayCheck CheckDisplay(const CDisplayOptions& options, const FnGetEnv& fnGetEnv);

// The process's own environment.
std::string GetEnv(const char* pszName);
