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

// An absolute path as written, lexically normal and without a trailing '/' ("/" stays itself).
std::filesystem::path NormalFolder(const char* pszPath) {
    std::filesystem::path path = std::filesystem::path(pszPath).lexically_normal();
    return path.has_filename() || !path.has_relative_path() ? path : path.parent_path();
}

std::filesystem::path HomeFolder() {
    const char* pszHome = std::getenv("HOME");
    if (pszHome != nullptr && pszHome[0] == '/') {
        return NormalFolder(pszHome);
    }
    const long nBufferSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(nBufferSize > 0 ? static_cast<std::size_t>(nBufferSize) : 16384);
    struct passwd pw {};
    struct passwd* pResult = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &pResult) == 0 &&
        pResult != nullptr && pw.pw_dir != nullptr && pw.pw_dir[0] == '/') {
        return NormalFolder(pw.pw_dir);
    }
    return {};
}

}  // namespace

bool IsAtOrBelow(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::filesystem::path below = path.lexically_relative(folder);
    return !below.empty() && *below.begin() != "..";
}

CDataFolder CSystemRuntime::GetUserDataDir() {
    const std::filesystem::path home = HomeFolder();
    const char* pszDataHome = std::getenv("XDG_DATA_HOME");
    if (pszDataHome != nullptr && pszDataHome[0] == '/') {
        const std::filesystem::path data = NormalFolder(pszDataHome);
        const bool bInHome = !home.empty() && IsAtOrBelow(data, home);
        return {data.string(), (bInHome ? home : data.parent_path()).string()};
    }
    if (home.empty()) {
        return {};
    }
    return {(home / ".local/share").string(), home.string()};
}
