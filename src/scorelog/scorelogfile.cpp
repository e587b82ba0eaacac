#include "scorelog/scorelogfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/regularfile.h"
#include "scorelog/scorelogreader.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kLogName = "zorvik.txt";
// How long an append waits for the log's lock. A copy of the game holds it for one write; a
// program that holds it longer makes the append fail rather than hold the game up.
constexpr int kLockWaitMs = 2000;
constexpr int kLockPollMs = 10;

// Makes the folder name in parent where the mode bits of parent let the user write, opens it
// without following a link, and makes it the player's alone whatever the umask. Something put in
// its place by another user is refused.
CFd MakeFolder(const CFd& parent, const char* pszName, const CUserIds& user) {
    struct stat st {};
    if (::fstat(parent.Get(), &st) != 0 || !ModeAllows(st, user, S_IWOTH | S_IXOTH)) {
        return CFd::Failed(EACCES);
    }
    if (::mkdirat(parent.Get(), pszName, 0700) != 0 && errno != EEXIST) {
        return CFd::Failed(errno);
    }
    CFd made(::openat(parent.Get(), pszName, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (made.IsOpen() && (::fstat(made.Get(), &st) != 0 || st.st_uid != user.uid ||
                          ::fchmod(made.Get(), 0700) != 0)) {
        return CFd::Failed(EACCES);
    }
    return made;
}

// Whether nobody but the user can add, remove or rename names in the folder, so that a link in
// it is the user's own doing.
bool OnlyUserChanges(const CFd& folder, const CUserIds& user) {
    struct stat st {};
    return ::fstat(folder.Get(), &st) == 0 && st.st_uid == user.uid &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Opens the folder path, which lies at or below base: base as it is named, then each name below
// it through the folder above, so that no name is looked up twice. A link on the way is followed
// only in a folder that nobody but the user can change (a data folder moved to another disk);
// one that someone else could have put there ends the way. With bMake a missing folder is made.
CFd OpenFolder(const fs::path& path, const fs::path& base, bool bMake, const CUserIds& user) {
    if (!path.is_absolute() || !IsAtOrBelow(path, base)) {
        return CFd::Failed(ENOENT);
    }
    CFd folder(::open(base.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const fs::path below = path.lexically_relative(base);
    for (const fs::path& name : below == "." ? fs::path() : below) {
        if (!folder.IsOpen()) {
            break;
        }
        const int nFollow = OnlyUserChanges(folder, user) ? 0 : O_NOFOLLOW;
        CFd next(::openat(folder.Get(), name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | nFollow));
        if (!next.IsOpen() && next.Errno() == ENOENT && bMake) {
            next = MakeFolder(folder, name.c_str(), user);
        }
        folder = std::move(next);
    }
    return folder;
}

CFd BesideFolder(const std::string& log, const CUserIds& user) {
    return OpenFolder(fs::path(log).parent_path(), "/", false, user);
}

CFd OwnFolder(const CScoreLogPlace& place, bool bMake) {
    return OpenFolder(fs::path(place.own).parent_path(), place.ownBase, bMake, place.user);
}

CBestScores ReadLogIn(const CFd& folder, const CUserIds& user) {
    CScoreLogReader reader;
    const CRegularFile log(folder.Get(), kLogName, O_RDONLY | O_NOFOLLOW);
    if (log.IsOpen() && ModeAllows(log.Stat(), user, S_IROTH)) {
        std::vector<char> buffer(64 * 1024);
        ssize_t nRead = 0;
        // The end of the file, or a read error, ends the log.
        while ((nRead = ::read(log.Fd(), buffer.data(), buffer.size())) > 0 ||
               (nRead < 0 && errno == EINTR)) {
            reader.Feed(buffer.data(), static_cast<std::size_t>(std::max<ssize_t>(nRead, 0)));
        }
        reader.Finish();
    }
    return reader.BestScores();
}

// Why a write came back short, which write itself does not say: the file-size limit when the
// log now reaches it, else a full disk (or quota).
int ShortWriteErrno(int fd) {
    struct rlimit limit {};
    const off_t nEnd = ::lseek(fd, 0, SEEK_CUR);
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && nEnd >= 0 &&
                   static_cast<rlim_t>(nEnd) >= limit.rlim_cur
               ? EFBIG
               : ENOSPC;
}

// Takes the log's advisory lock, waiting a while for another program that holds it. A file
// system that has no such locks lets the append go on without.
bool LockLog(int fd) {
    for (int nWaited = 0;; nWaited += kLockPollMs) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || (errno != EWOULDBLOCK && errno != EINTR)) {
            return true;
        }
        if (nWaited >= kLockWaitMs) {
            return false;
        }
        ::usleep(kLockPollMs * 1000);
    }
}

// One write carries the whole record, so that records appended at the same time never
// interleave. Under the lock, which closing the file lets go, no other copy appends between this
// write and the cut-back of a short one: the log goes back to its length before the write and
// keeps only whole records. Returns the errno of a failure, or 0.
int WriteRecord(int fd, std::string_view record) {
    struct stat st {};
    if (!LockLog(fd)) {
        return EWOULDBLOCK;
    }
    if (::fstat(fd, &st) != 0) {
        return errno;
    }
    ssize_t nWritten = 0;
    do {
        nWritten = ::write(fd, record.data(), record.size());
    } while (nWritten < 0 && errno == EINTR);
    if (nWritten == std::ssize(record)) {
        return 0;
    }
    const int nErrno = nWritten < 0 ? errno : ShortWriteErrno(fd);
    while (nWritten > 0 && ::ftruncate(fd, st.st_size) != 0 && errno == EINTR) {
    }
    return nErrno;
}

// Appends record to the log in folder; a new log is made with nCreateMode less the umask, but
// always readable and writable by its owner, so that the next game can append too.
std::string AppendIn(const CFd& folder, const CUserIds& user, std::string_view record,
                     mode_t nCreateMode) {
    struct stat st {};
    if (!folder.IsOpen() || ::fstat(folder.Get(), &st) != 0) {
        return std::strerror(folder.IsOpen() ? errno : folder.Errno());
    }
    const bool bMayCreate = ModeAllows(st, user, S_IWOTH | S_IXOTH);
    const CRegularFile log(folder.Get(), kLogName,
                           O_WRONLY | O_APPEND | O_NOFOLLOW | (bMayCreate ? O_CREAT : 0),
                           nCreateMode);
    if (!log.IsOpen()) {
        return !bMayCreate && log.Errno() == ENOENT ? std::strerror(EACCES) : log.Error();
    }
    if (!log.IsNew() && !ModeAllows(log.Stat(), user, S_IWOTH)) {
        return std::strerror(EACCES);
    }
    if (log.IsNew() && (log.Stat().st_mode & 0600) != 0600) {
        ::fchmod(log.Fd(), (log.Stat().st_mode & 07777) | 0600);
    }
    const int nErrno = WriteRecord(log.Fd(), record);
    return nErrno == 0 ? std::string() : std::strerror(nErrno);
}

}  // namespace

bool ModeAllows(const struct stat& st, const CUserIds& user, mode_t nWanted) {
    int nShift = 0;
    if (st.st_uid == user.uid) {
        nShift = 6;
    } else if (st.st_gid == user.gid ||
               std::ranges::find(user.groups, st.st_gid) != user.groups.end()) {
        nShift = 3;
    }
    return ((st.st_mode >> nShift) & nWanted) == nWanted;
}

CScoreLogPlace ScoreLogPlaceOf(IRuntime& runtime) {
    CScoreLogPlace place;
    place.user = runtime.GetUserIds();
    const fs::path program = runtime.GetProgramPath();
    if (program.is_absolute() && !IsAtOrBelow(program, "/usr") && !IsAtOrBelow(program, "/opt")) {
        place.beside = (program.parent_path() / kLogName).string();
    }
    const CDataFolder data = runtime.GetUserDataDir();
    if (fs::path(data.path).is_absolute() && IsAtOrBelow(data.path, data.base)) {
        place.own = (fs::path(data.path) / "zorvik" / kLogName).string();
        place.ownBase = data.base;
    }
    return place;
}

CBestScores ReadScoreLogFile(const std::string& path, const CUserIds& user) {
    return ReadLogIn(BesideFolder(path, user), user);
}

CBestScores ReadBestScoresOf(const CScoreLogPlace& place) {
    CBestScores best = ReadScoreLogFile(place.beside, place.user);
    const CBestScores own = ReadLogIn(OwnFolder(place, false), place.user);
    std::ranges::transform(best, own, best.begin(),
                           [](std::int32_t a, std::int32_t b) { return std::max(a, b); });
    return best;
}

std::string AppendToScoreLog(const std::string& path, const CUserIds& user,
                             std::string_view record) {
    return AppendIn(BesideFolder(path, user), user, record, 0666);
}

std::optional<CScoreLogFailure> SaveScoreRecord(const CScoreLogPlace& place,
                                                std::string_view record) {
    CScoreLogFailure failure;
    if (!place.beside.empty()) {
        failure = {place.beside, AppendToScoreLog(place.beside, place.user, record)};
        if (failure.reason.empty()) {
            return std::nullopt;
        }
    }
    if (!place.own.empty()) {
        failure = {place.own, AppendIn(OwnFolder(place, true), place.user, record, 0600)};
        if (failure.reason.empty()) {
            return std::nullopt;
        }
    }
    return failure;
}
