#include "qt/displayprobe.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QSet>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

bool StartsWith(const std::string& str, const char* pszPrefix) {
    return str.rfind(pszPrefix, 0) == 0;
}

// The keys of every platform plugin Qt can find: those in the plugin folder named by
// -platformpluginpath or QT_QPA_PLATFORM_PLUGIN_PATH, and in the platforms folder under each of
// Qt's library paths. Only the plugins' metadata is read; no plugin is loaded.
QSet<QString> PlatformPluginKeys(const std::string& strPluginPath) {
    QStringList folders;
    if (!strPluginPath.empty()) {
        folders << QString::fromLocal8Bit(strPluginPath);
    }
    for (const QString& path : QCoreApplication::libraryPaths()) {
        folders << path + QStringLiteral("/platforms");
    }
    QSet<QString> keys;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList(QDir::Files)) {
            const QJsonObject metaData = QPluginLoader(dir.filePath(file)).metaData();
            if (!metaData.value(QStringLiteral("IID")).toString().contains(u".QPA.")) {
                continue;
            }
            const QJsonArray pluginKeys = metaData.value(QStringLiteral("MetaData"))
                                              .toObject()
                                              .value(QStringLiteral("Keys"))
                                              .toArray();
            for (const QJsonValue& key : pluginKeys) {
                keys.insert(key.toString().toLower());
            }
        }
    }
    return keys;
}

// Runs fn with what it writes to stderr caught; returns that text on one line.
template <typename Fn>
std::string CatchStderr(Fn fn) {
    int aPipe[2];
    const int nSaved = dup(STDERR_FILENO);
    if (nSaved < 0 || pipe2(aPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        fn();
        return {};
    }
    dup2(aPipe[1], STDERR_FILENO);
    close(aPipe[1]);
    fn();
    dup2(nSaved, STDERR_FILENO);
    close(nSaved);
    std::string strText;
    char aBuffer[512];
    ssize_t nRead = 0;
    while ((nRead = read(aPipe[0], aBuffer, sizeof(aBuffer))) > 0) {
        strText.append(aBuffer, static_cast<std::size_t>(nRead));
    }
    close(aPipe[0]);
    for (char& c : strText) {
        c = std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
    }
    const std::size_t nFirst = strText.find_first_not_of(' ');
    return nFirst == std::string::npos
               ? std::string()
               : strText.substr(nFirst, strText.find_last_not_of(' ') - nFirst + 1);
}

// Why the X display cannot be opened, or empty when it can; then *pConnection keeps it open.
std::string ProbeXcb(const std::string& strDisplayOption, const FnGetEnv& fnGetEnv,
                     std::shared_ptr<void>* pConnection) {
    const std::string strName = !strDisplayOption.empty() ? strDisplayOption : fnGetEnv("DISPLAY");
    if (strName.empty()) {
        return "DISPLAY is not set";
    }
    // A server that refuses the connection says why, and XCB writes that to stderr.
    int nError = 0;
    const std::string strServerSays = CatchStderr([&] {
        int nScreen = 0;
        pConnection->reset(xcb_connect(strName.c_str(), &nScreen),
                           [](void* p) { xcb_disconnect(static_cast<xcb_connection_t*>(p)); });
        nError = xcb_connection_has_error(static_cast<xcb_connection_t*>(pConnection->get()));
    });
    if (nError != 0) {
        pConnection->reset();
    }
    switch (nError) {
        case 0:
            return {};
        case XCB_CONN_CLOSED_PARSE_ERR:
            return "'" + strName + "' is not an X display name";
        case XCB_CONN_CLOSED_INVALID_SCREEN:
            return "X display '" + strName + "' has no such screen";
        default:
            return "cannot connect to X display '" + strName + "'" +
                   (strServerSays.empty() ? "" : ": " + strServerSays);
    }
}

// Why the Wayland compositor cannot be reached, or empty when it can: the socket that Wayland's
// client library connects to.
std::string ProbeWayland(const FnGetEnv& fnGetEnv) {
    if (!fnGetEnv("WAYLAND_SOCKET").empty()) {
        return {};  // the compositor handed over a connected socket
    }
    std::string strPath = fnGetEnv("WAYLAND_DISPLAY");
    if (strPath.empty()) {
        strPath = "wayland-0";
    }
    if (strPath.front() != '/') {
        const std::string strRuntimeDir = fnGetEnv("XDG_RUNTIME_DIR");
        if (strRuntimeDir.empty()) {
            return "XDG_RUNTIME_DIR is not set";
        }
        strPath = strRuntimeDir + "/" + strPath;
    }
    const std::string strFailed = "cannot connect to '" + strPath + "'";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (strPath.size() >= sizeof(address.sun_path)) {
        return strFailed;
    }
    std::memcpy(address.sun_path, strPath.c_str(), strPath.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return strFailed;
    }
    const bool bConnected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return bConnected ? std::string() : strFailed;
}

}  // namespace

std::vector<std::string> QtPlatformOrder(const std::string& strPlatformOption,
                                         const FnGetEnv& fnGetEnv) {
    std::string strList = strPlatformOption;
    if (strList.empty()) {
        strList = fnGetEnv("QT_QPA_PLATFORM");
    }
    if (strList.empty()) {
        const bool bWayland =
            !fnGetEnv("WAYLAND_DISPLAY").empty() || fnGetEnv("XDG_SESSION_TYPE") == "wayland";
        strList = bWayland ? "wayland;xcb" : "xcb";
    }
    std::vector<std::string> names;
    std::size_t nStart = 0;
    while (nStart <= strList.size()) {
        const std::size_t nEnd = std::min(strList.find(';', nStart), strList.size());
        std::string strName = strList.substr(nStart, nEnd - nStart);
        strName = strName.substr(0, strName.find(':'));
        for (char& c : strName) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (!strName.empty()) {
            names.push_back(strName);
        }
        nStart = nEnd + 1;
    }
    return names;
}

CDisplayCheck CheckDisplay(const CDisplayOptions& options, const FnGetEnv& fnGetEnv) {
    const std::string strPluginPath = !options.strPluginPath.empty()
                                          ? options.strPluginPath
                                          : fnGetEnv("QT_QPA_PLATFORM_PLUGIN_PATH");
    // Reading the plugins' metadata takes a few milliseconds: only when needed. The xcb and
    // offscreen plugins come with Qt's GUI library itself.
    std::optional<QSet<QString>> keys;
    const auto hasPlugin = [&](const std::string& strName) {
        if (strName == "xcb" || strName == "offscreen") {
            return true;
        }
        if (!keys) {
            keys = PlatformPluginKeys(strPluginPath);
        }
        return keys->contains(QString::fromStdString(strName));
    };
    CDisplayCheck check;
    for (const std::string& strName : QtPlatformOrder(options.strPlatform, fnGetEnv)) {
        std::string strWhy;
        if (!hasPlugin(strName)) {
            strWhy = "no Qt platform plugin";
        } else if (strName == "xcb") {
            strWhy = ProbeXcb(options.strDisplay, fnGetEnv, &check.pConnection);
        } else if (StartsWith(strName, "wayland")) {
            strWhy = ProbeWayland(fnGetEnv);
        }
        if (strWhy.empty()) {
            check.strTried.clear();
            return check;
        }
        check.strTried += (check.strTried.empty() ? "" : "; ") + strName + ": " + strWhy;
    }
    if (check.strTried.empty()) {
        check.strTried = "no Qt platform named";
    }
    return check;
}

std::string GetEnv(const char* pszName) {
    const char* pszValue = std::getenv(pszName);
    return pszValue != nullptr ? pszValue : "";
}
