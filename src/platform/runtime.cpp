#include "platform/runtime.h"

#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>

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
