#include "platform/runtime.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

int CSystemRuntime::rand() {
    m_nState = m_nState * 214013u + 2531011u;
    return static_cast<int>((m_nState >> 16) & 0x7FFFu);
}

std::int64_t CSystemRuntime::time() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string CSystemRuntime::GetProgramPath() {
    std::error_code ec;
    std::string path = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    if (ec) {
        return {};
    }
    // The kernel appends this when the file was replaced or removed while running.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) {
        path.resize(path.size() - kDeleted.size());
    }
    return path;
}

CUserIds CSystemRuntime::GetUserIds() {
    CUserIds ids{::geteuid(), ::getegid(), {}};
    const int nGroups = ::getgroups(0, nullptr);
    if (nGroups > 0) {
        ids.groups.resize(static_cast<std::size_t>(nGroups));
        ids.groups.resize(
            static_cast<std::size_t>(std::max(0, ::getgroups(nGroups, ids.groups.data()))));
    }
    return ids;
}

namespace {

// An absolute folder without its trailing '/' ("/" stays itself).
std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

CDataFolder CSystemRuntime::GetUserDataDir() {
    const char* pszDataHome = std::getenv("XDG_DATA_HOME");
    if (pszDataHome != nullptr && pszDataHome[0] == '/') {
        std::string path = WithoutTrailingSlash(pszDataHome);
        const std::size_t nSlash = path.rfind('/');
        return {path, nSlash == 0 ? std::string("/") : path.substr(0, nSlash)};
    }
    std::string home;
    const char* pszHome = std::getenv("HOME");
    if (pszHome != nullptr && pszHome[0] == '/') {
        home = pszHome;
    } else {
        const long nBufferSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(nBufferSize > 0 ? static_cast<std::size_t>(nBufferSize) : 16384);
        struct passwd pw {};
        struct passwd* pResult = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &pResult) == 0 &&
            pResult != nullptr && pw.pw_dir != nullptr && pw.pw_dir[0] == '/') {
            home = pw.pw_dir;
        }
    }
    if (home.empty()) {
        return {};
    }
    home = WithoutTrailingSlash(home);
    return {(home == "/" ? "" : home) + "/.local/share", home};
}
