#include "platform/regularfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CFd CFd::Failed(int nErrno) {
    CFd fd(-1);
    fd.m_nErrno = nErrno;
    return fd;
}

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
    if (S_ISDIR(nMode)) {
        return std::strerror(EISDIR);
    }
    if (S_ISLNK(nMode)) {
        return "Is a symbolic link";
    }
    if (S_ISFIFO(nMode)) {
        return "Is a named pipe";
    }
    if (S_ISCHR(nMode)) {
        return "Is a character device";
    }
    if (S_ISBLK(nMode)) {
        return "Is a block device";
    }
    if (S_ISSOCK(nMode)) {
        return "Is a socket";
    }
    return "Not a regular file";
}
