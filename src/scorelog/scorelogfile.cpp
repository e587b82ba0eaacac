#include "scorelog/scorelogfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "scorelog/scorelogreader.h"

namespace {

constexpr std::string_view kLogName = "zorvik.txt";

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
    // Open and a regular file: never a directory, a pipe or a device that could block the
    // game or hand it endless data.
    bool IsRegularFile() const {
        struct stat st {};
        return m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode);
    }

private:
    int m_fd;
};

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

std::array<std::int32_t, 4> ReadScoreLogFile(const std::string& path) {
    CScoreLogReader reader;
    if (path.empty()) {
        return reader.BestScores();
    }
    // Non-blocking, so that a pipe of that name cannot hold the game up before it is refused.
    const CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsRegularFile()) {
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
    const CFileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644));
    if (!file.IsRegularFile()) {
        return false;
    }
    // One write carries the whole record; only a short write, which leaves the rest for
    // another, splits it.
    while (!record.empty()) {
        const ssize_t nWritten = ::write(file.Get(), record.data(), record.size());
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            return false;
        }
        record.remove_prefix(static_cast<std::size_t>(nWritten));
    }
    return true;
}
