// Opening a file that has to be a regular one, judged by what was opened and never by a name
// looked at before: the file named on the command line and the score log.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <utility>

// A file descriptor, closed with the object, or the errno of the call that did not give one.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd), m_nErrno(fd < 0 ? errno : 0) {}
    static CFd Failed(int nErrno) { return CFd(-1, nErrno); }
    CFd(CFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_nErrno(other.m_nErrno) {}
    CFd& operator=(CFd&& other) noexcept;
    ~CFd();

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }
    int Errno() const { return m_nErrno; }

private:
    CFd(int fd, int nErrno) : m_fd(fd), m_nErrno(nErrno) {}

    int m_fd;
    int m_nErrno;
};

// A regular file opened with open(2) flags, relative to fdFolder (or AT_FDCWD). The name is first
// opened with O_PATH, which reads, writes and sets off nothing, and fstat decides: a folder, a
// named pipe or a device is refused before anything could act on being opened, and so is a
// symbolic link when nFlags hold O_NOFOLLOW. Only then is the file opened for nFlags, through that
// very descriptor, so a name swapped in the meantime changes nothing. With O_CREAT the file is
// made new, with nCreateMode less the umask, where nothing of its name stands (never through a
// link); where something does, that is opened as above.
class CRegularFile {
public:
    CRegularFile(int fdFolder, const char* pszName, int nFlags, mode_t nCreateMode = 0);

    bool IsOpen() const { return m_fd.IsOpen(); }
    int Fd() const { return m_fd.Get(); }
    // The open file as fstat saw it.
    const struct stat& Stat() const { return m_st; }
    // Made by this open.
    bool IsNew() const { return m_bNew; }
    // Why it was not opened, an errno value; 0 when it is no regular file.
    int Errno() const { return m_fd.Errno(); }
    // The same in words: "No such file or directory", "Is a named pipe".
    std::string Error() const;

private:
    CFd m_fd{-1};
    struct stat m_st {};
    bool m_bNew = false;
};

// What a file of this type is, in words, for one that is not a regular file.
std::string NotRegularReason(mode_t nMode);
