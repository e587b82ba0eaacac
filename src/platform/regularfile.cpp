#include "platform/regularfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CRegularFile::CRegularFile(const std::string& path, int nFlags) {
    constexpr int kSafe = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if ((nFlags & O_CREAT) != 0) {
        // O_EXCL with O_NOFOLLOW: whatever stands there, a link included, is left alone.
        m_fd = ::open(path.c_str(), nFlags | O_EXCL | O_NOFOLLOW | kSafe, 0644);
        if (m_fd < 0 || ::fstat(m_fd, &m_st) != 0) {
            Refuse(errno, S_IFREG);
        }
        return;
    }
    struct stat seen {};
    if (::stat(path.c_str(), &seen) != 0) {
        Refuse(errno, S_IFREG);
        return;
    }
    if (!S_ISREG(seen.st_mode)) {
        Refuse(0, seen.st_mode);
        return;
    }
    m_fd = ::open(path.c_str(), nFlags | kSafe);
    if (m_fd < 0 || ::fstat(m_fd, &m_st) != 0) {
        Refuse(errno, S_IFREG);
    } else if (!S_ISREG(m_st.st_mode)) {
        Refuse(0, m_st.st_mode);
    } else if (m_st.st_dev != seen.st_dev || m_st.st_ino != seen.st_ino) {
        Refuse(EAGAIN, S_IFREG);  // replaced between the look and the open
    }
}

CRegularFile::~CRegularFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::string CRegularFile::Error() const {
    return m_nErrno != 0 ? std::strerror(m_nErrno) : NotRegularReason(m_nRefusedMode);
}

void CRegularFile::Refuse(int nErrno, mode_t nMode) {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_nErrno = nErrno;
    m_nRefusedMode = nMode;
}

std::string NotRegularReason(mode_t nMode) {
    if (S_ISDIR(nMode)) {
        return std::strerror(EISDIR);
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
