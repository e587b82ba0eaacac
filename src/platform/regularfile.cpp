#include "platform/regularfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CFd& CFd::operator=(CFd&& other) noexcept {
    std::swap(m_fd, other.m_fd);
    m_nErrno = other.m_nErrno;
    return *this;
}

CFd::~CFd() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

CRegularFile::CRegularFile(int fdFolder, const char* pszName, int nFlags, mode_t nCreateMode) {
    constexpr int kSafe = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if ((nFlags & O_CREAT) != 0) {
        m_fd = CFd(::openat(fdFolder, pszName, nFlags | O_EXCL | O_NOFOLLOW | kSafe, nCreateMode));
        m_bNew = m_fd.IsOpen();
        if (m_bNew || m_fd.Errno() != EEXIST) {
            if (m_bNew && ::fstat(m_fd.Get(), &m_st) != 0) {
                m_fd = CFd::Failed(errno);
            }
            return;
        }
    }
    const CFd path(::openat(fdFolder, pszName, O_PATH | (nFlags & O_NOFOLLOW) | O_CLOEXEC));
    if (!path.IsOpen() || ::fstat(path.Get(), &m_st) != 0) {
        m_fd = CFd::Failed(path.IsOpen() ? errno : path.Errno());
    } else if (!S_ISREG(m_st.st_mode)) {
        m_fd = CFd::Failed(0);
    } else {
        const std::string self = "/proc/self/fd/" + std::to_string(path.Get());
        m_fd = CFd(::open(self.c_str(), (nFlags & ~(O_CREAT | O_NOFOLLOW)) | kSafe));
    }
}

std::string CRegularFile::Error() const {
    return Errno() != 0 ? std::strerror(Errno()) : NotRegularReason(m_st.st_mode);
}

std::string NotRegularReason(mode_t nMode) {
    constexpr std::pair<mode_t, const char*> kTypes[] = {
        {S_IFDIR, "Is a directory"},    {S_IFLNK, "Is a symbolic link"},
        {S_IFIFO, "Is a named pipe"},   {S_IFCHR, "Is a character device"},
        {S_IFBLK, "Is a block device"}, {S_IFSOCK, "Is a socket"},
    };
    for (const auto& [nType, pszReason] : kTypes) {
        if ((nMode & S_IFMT) == nType) {
            return pszReason;
        }
    }
    return "Not a regular file";
}
