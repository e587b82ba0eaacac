#include "scorelog/scorelogfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "scorelog/scorelogreader.h"

namespace {

constexpr std::string_view kLogName = "zorvik.txt";
constexpr std::string_view kUserFolderName = "zorvik";

// Closes a file descriptor when it goes out of scope.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_fd; }

private:
    int m_fd;
};

// The folder part of an absolute path: everything before its last '/', or "/" itself.
std::string FolderOf(const std::string& path) {
    const std::size_t nSlash = path.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? std::string("/") : path.substr(0, nSlash);
}

// Whether the descriptor is the very regular file that stat saw before it was opened, not one
// put in its place between the look and the open.
bool IsSameRegularFile(int fd, const struct stat& seen) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == seen.st_dev &&
           st.st_ino == seen.st_ino;
}

// Opens the regular file at path with flags, following a symbolic link to one: anything else
// (a folder, a pipe, a device, a dangling link) is never opened, since some act on being opened
// and a pipe would block. -1 when it is missing or is no regular file.
int OpenRegularFile(const std::string& path, int nFlags) {
    struct stat seen {};
    if (::stat(path.c_str(), &seen) != 0 || !S_ISREG(seen.st_mode)) {
        return -1;
    }
    const int fd = ::open(path.c_str(), nFlags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0 && !IsSameRegularFile(fd, seen)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Opens the log for appending, creating it when nothing of its name stands there. A log made by
// another program between the look and the creation is opened as it is.
int OpenForAppending(const std::string& path) {
    constexpr int kAppend = O_WRONLY | O_APPEND;
    for (int nTry = 0; nTry < 2; ++nTry) {
        const int fd = OpenRegularFile(path, kAppend);
        if (fd >= 0) {
            return fd;
        }
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 || errno != ENOENT) {
            return -1;  // there but no regular file, a dangling link, or no way to look
        }
        // O_EXCL with O_NOFOLLOW: a link that appeared in the meantime is not followed either.
        const int fdNew = ::open(
            path.c_str(),
            kAppend | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (fdNew >= 0 || errno != EEXIST) {
            return fdNew;
        }
    }
    return -1;
}

// After a write that came back short, takes the nWritten bytes of the torn record off the end of
// the log again. Appending leaves the descriptor's offset at the end of those bytes; they are cut
// only while they are still the end of the file, since another program that appended after them
// would lose its whole record with them.
void CutBackTornRecord(int fd, std::size_t nWritten) {
    const off_t nEnd = ::lseek(fd, 0, SEEK_CUR);
    struct stat st {};
    if (nEnd < 0 || static_cast<std::size_t>(nEnd) < nWritten || ::fstat(fd, &st) != 0 ||
        st.st_size != nEnd) {
        return;
    }
    while (::ftruncate(fd, nEnd - static_cast<off_t>(nWritten)) != 0 && errno == EINTR) {
    }
}

}  // namespace

std::string ScoreLogPathFor(std::string_view programPath) {
    const std::size_t nSlash = programPath.rfind('/');
    if (programPath.empty() || programPath.front() != '/' || nSlash == std::string_view::npos) {
        return {};
    }
    std::string path(programPath.substr(0, nSlash + 1));
    path += kLogName;
    return path;
}

std::string UserScoreLogPathFor(std::string_view userDataDir) {
    if (userDataDir.empty() || userDataDir.front() != '/') {
        return {};
    }
    std::string path(userDataDir);
    if (path.back() != '/') {
        path += '/';
    }
    path += kUserFolderName;
    path += '/';
    path += kLogName;
    return path;
}

bool CanTakeScoreLog(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        // Nothing of that name: the log can be made where the folder may be written.
        return errno == ENOENT && ::access(FolderOf(path).c_str(), W_OK | X_OK) == 0;
    }
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) {
        return false;  // a dangling link is never followed to make its target
    }
    return S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

CScoreLogPlace ChooseScoreLogPlace(std::string_view programPath, std::string_view userDataDir) {
    std::string besideProgram = ScoreLogPathFor(programPath);
    if (CanTakeScoreLog(besideProgram)) {
        return {std::move(besideProgram), false};
    }
    std::string inUserFolder = UserScoreLogPathFor(userDataDir);
    const bool bUserFolder = !inUserFolder.empty();
    return {std::move(inUserFolder), bUserFolder};
}

bool MakeScoreLogFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    if (folder.empty() || folder.front() != '/') {
        return false;
    }
    // Each folder from the top down; those that exist already are left as they are.
    for (std::size_t nSlash = folder.find('/', 1);; nSlash = folder.find('/', nSlash + 1)) {
        const std::string part = folder.substr(0, nSlash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (nSlash == std::string::npos) {
            break;
        }
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::array<std::int32_t, kLevelCount> ReadScoreLogFile(const std::string& path) {
    CScoreLogReader reader;
    if (path.empty()) {
        return reader.BestScores();
    }
    const CFileDescriptor file(OpenRegularFile(path, O_RDONLY));
    if (file.Get() < 0) {
        return reader.BestScores();
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t nRead = ::read(file.Get(), buffer.data(), buffer.size());
        if (nRead < 0 && errno == EINTR) {
            continue;
        }
        if (nRead <= 0) {
            // The end of the file; a read error ends the log where it happened.
            break;
        }
        reader.Feed(buffer.data(), static_cast<std::size_t>(nRead));
    }
    reader.Finish();
    return reader.BestScores();
}

bool AppendToScoreLog(const std::string& path, std::string_view record) {
    if (path.empty()) {
        return false;
    }
    const CFileDescriptor file(OpenForAppending(path));
    if (file.Get() < 0) {
        return false;
    }
    // One write carries the whole record, so that records appended at the same time by several
    // programs never interleave. A short write is not continued: its bytes are taken back.
    ssize_t nWritten = 0;
    do {
        nWritten = ::write(file.Get(), record.data(), record.size());
    } while (nWritten < 0 && errno == EINTR);
    if (nWritten == static_cast<ssize_t>(record.size())) {
        return true;
    }
    if (nWritten > 0) {
        CutBackTornRecord(file.Get(), static_cast<std::size_t>(nWritten));
    }
    return false;
}
