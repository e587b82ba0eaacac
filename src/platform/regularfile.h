// Opening a file that has to be a regular one: the file named on the command line and the score
// log.
#pragma once

#include <sys/stat.h>

#include <string>

// A regular file opened with open(2) flags, closed again with the object. Only a regular file is
// opened at all, also through a symbolic link to one: a folder, a named pipe or a device is
// refused before it is opened, since some act on being opened and a pipe would block. What was
// opened is looked at again, and a file put in the place of the one seen is refused as well.
// With O_CREAT the file is made new where nothing of its name stands, never through a link.
class CRegularFile {
public:
    CRegularFile(const std::string& path, int nFlags);
    ~CRegularFile();
    CRegularFile(const CRegularFile&) = delete;
    CRegularFile& operator=(const CRegularFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    // The open file as fstat saw it.
    const struct stat& Stat() const { return m_st; }
    // Why it was not opened: an errno value, 0 when it is no regular file.
    int Errno() const { return m_nErrno; }
    // The same in words, "No such file or directory" or "Is a named pipe".
    std::string Error() const;

private:
    void Refuse(int nErrno, mode_t nMode);

    int m_fd = -1;
    struct stat m_st {};
    int m_nErrno = 0;
    mode_t m_nRefusedMode = 0;
};

// What a file of this type is, in words, for one that is not a regular file.
std::string NotRegularReason(mode_t nMode);
