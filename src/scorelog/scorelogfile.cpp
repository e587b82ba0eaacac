#include "scorelog/scorelogfile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/regularfile.h"
#include "scorelog/scorelogreader.h"

namespace {

constexpr std::string_view kLogName = "zorvik.txt";

// The path of name inside an absolute folder.
std::string Join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path += name;
}

// The folder part of an absolute path: everything before its last '/', or "/" itself.
std::string FolderOf(const std::string& path) {
    const std::size_t nSlash = path.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? std::string("/") : path.substr(0, nSlash);
}

// Whether path lies somewhere inside the absolute folder.
bool IsUnder(std::string_view path, std::string_view folder) {
    return path.starts_with(folder) && path.size() > folder.size() &&
           (folder == "/" || path[folder.size()] == '/');
}

CPathInfo Look(const std::string& path, bool bFollowLink) {
    struct stat st {};
    if ((bFollowLink ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
        return {errno};
    }
    return {0, st.st_mode, st.st_uid, st.st_gid, st.st_dev, st.st_ino};
}

CLogFacts LookAtLog(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    return {Look(path, false), Look(path, true), Look(FolderOf(path), true)};
}

// Whether the mode bits give the user the rights in nWanted (as S_IRWXO bits): the owner's bits
// for the owner, the group's for a member of the group, the others' bits for everyone else.
bool ModeAllows(const CPathInfo& info, const CUserIds& user, mode_t nWanted) {
    int nShift = 0;
    if (info.uid == user.uid) {
        nShift = 6;
    } else if (info.gid == user.gid ||
               std::find(user.groups.begin(), user.groups.end(), info.gid) != user.groups.end()) {
        nShift = 3;
    }
    return ((info.nMode >> nShift) & nWanted) == nWanted;
}

CLogVerdict Refuse(int nErrno) {
    return {std::strerror(nErrno)};
}

// The log beside the program, unless the program has no absolute folder (the log is never looked
// for in the working directory).
std::string LogBesideProgram(std::string_view programPath) {
    const std::size_t nSlash = programPath.rfind('/');
    if (programPath.empty() || programPath.front() != '/' || nSlash == std::string_view::npos) {
        return {};
    }
    return Join(programPath.substr(0, nSlash + 1), kLogName);
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

// One write carries the whole record, so that records appended at the same time by several
// programs never interleave. A short write is not continued: its bytes are taken back, and a log
// that was made for this record and stays empty is removed. Returns the errno of a failure, or 0.
int WriteRecord(const CRegularFile& file, const std::string& path, std::string_view record,
                bool bCreated) {
    ssize_t nWritten = 0;
    do {
        nWritten = ::write(file.Fd(), record.data(), record.size());
    } while (nWritten < 0 && errno == EINTR);
    if (nWritten == static_cast<ssize_t>(record.size())) {
        return 0;
    }
    const int nErrno = nWritten < 0 ? errno : ShortWriteErrno(file.Fd());
    if (nWritten > 0) {
        CutBackTornRecord(file.Fd(), static_cast<std::size_t>(nWritten));
    }
    struct stat st {};
    const CPathInfo now = Look(path, false);
    if (bCreated && ::fstat(file.Fd(), &st) == 0 && st.st_size == 0 && now.nErrno == 0 &&
        now.dev == st.st_dev && now.ino == st.st_ino) {
        ::unlink(path.c_str());
    }
    return nErrno;
}

// Makes the missing folders in order, each for the player alone whatever the umask, and only in
// a folder whose mode bits let the user write, for the superuser too; an existing folder keeps
// its mode. Returns the errno of a failure, or 0.
int MakeFolders(const std::vector<std::string>& folders, const CUserIds& user) {
    for (const std::string& folder : folders) {
        if (Look(folder, true).nErrno != ENOENT) {
            continue;  // there already, or in the way: the append says why
        }
        const CPathInfo parent = Look(FolderOf(folder), true);
        if (parent.nErrno != 0 || !ModeAllows(parent, user, S_IWOTH | S_IXOTH)) {
            return parent.nErrno != 0 ? parent.nErrno : EACCES;
        }
        if (::mkdir(folder.c_str(), 0700) == 0) {
            if (::chmod(folder.c_str(), 0700) != 0) {
                return errno;
            }
        } else if (errno != EEXIST) {
            return errno;
        }
    }
    return 0;
}

}  // namespace

CLogVerdict JudgeLog(const CLogFacts& facts, const CUserIds& user) {
    if (facts.log.nErrno == ENOENT) {
        if (facts.folder.nErrno != 0) {
            return Refuse(facts.folder.nErrno);
        }
        if (!S_ISDIR(facts.folder.nMode)) {
            return Refuse(ENOTDIR);
        }
        if (!ModeAllows(facts.folder, user, S_IWOTH | S_IXOTH)) {
            return Refuse(EACCES);
        }
        return {{}, true};
    }
    if (facts.log.nErrno != 0) {
        return Refuse(facts.log.nErrno);
    }
    if (S_ISLNK(facts.log.nMode) &&
        (facts.log.uid != user.uid || (facts.target.nErrno == 0 && facts.target.uid != user.uid))) {
        return Refuse(EACCES);  // another user's link, or a link to another user's file
    }
    if (facts.target.nErrno != 0) {
        return Refuse(facts.target.nErrno);  // a dangling link makes nothing where it points
    }
    if (!S_ISREG(facts.target.nMode)) {
        return {NotRegularReason(facts.target.nMode)};
    }
    if (!ModeAllows(facts.target, user, S_IWOTH)) {
        return Refuse(EACCES);
    }
    return {{}, false, facts.target.dev, facts.target.ino};
}

CScoreLogPlace ChooseScoreLogPlace(const CScoreLogFacts& facts) {
    CScoreLogPlace place;
    place.user = facts.user;
    place.besidePath = LogBesideProgram(facts.programPath);
    if (IsUnder(facts.programPath, "/usr") || IsUnder(facts.programPath, "/opt")) {
        place.besidePath.clear();
    }
    if (!place.besidePath.empty()) {
        place.beside = JudgeLog(facts.besideProgram, facts.user);
    }
    const CDataFolder& data = facts.dataFolder;
    if (data.path.starts_with('/') && (data.path == data.base || IsUnder(data.path, data.base))) {
        const std::string folder = Join(data.path, "zorvik");
        place.userPath = Join(folder, kLogName);
        // Every folder below the base, down to zorvik/; the base itself is never made.
        for (std::size_t nSlash = folder.find('/', data.base.size() + 1);;
             nSlash = folder.find('/', nSlash + 1)) {
            place.foldersToMake.push_back(folder.substr(0, nSlash));
            if (nSlash == std::string::npos) {
                break;
            }
        }
    }
    return place;
}

CScoreLogPlace ScoreLogPlaceOf(IRuntime& runtime) {
    CScoreLogFacts facts{
        runtime.GetProgramPath(), runtime.GetUserIds(), {}, runtime.GetUserDataDir()};
    facts.besideProgram = LookAtLog(LogBesideProgram(facts.programPath));
    return ChooseScoreLogPlace(facts);
}

std::array<std::int32_t, kLevelCount> ReadScoreLogFile(const std::string& path) {
    CScoreLogReader reader;
    if (path.empty()) {
        return reader.BestScores();
    }
    const CRegularFile file(path, O_RDONLY);
    if (!file.IsOpen()) {
        return reader.BestScores();
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t nRead = ::read(file.Fd(), buffer.data(), buffer.size());
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

std::string AppendToScoreLog(const std::string& path, const CUserIds& user,
                             std::string_view record) {
    if (path.empty()) {
        return std::strerror(ENOENT);
    }
    // A second look when the log changed between the look and the open, as when another copy of
    // the game made it in the meantime.
    for (int nTry = 0;; ++nTry) {
        const CLogVerdict verdict = JudgeLog(LookAtLog(path), user);
        if (!verdict.refusal.empty()) {
            return verdict.refusal;
        }
        const CRegularFile file(path, O_WRONLY | O_APPEND | (verdict.bCreate ? O_CREAT : 0));
        const bool bSeen =
            file.IsOpen() && (verdict.bCreate || (file.Stat().st_dev == verdict.dev &&
                                                  file.Stat().st_ino == verdict.ino));
        if (!bSeen) {
            const int nErrno = file.IsOpen() ? EAGAIN : file.Errno();
            if (nTry == 0 && (nErrno == EEXIST || nErrno == EAGAIN)) {
                continue;
            }
            return file.IsOpen() ? std::strerror(nErrno) : file.Error();
        }
        if (verdict.bCreate && (file.Stat().st_mode & 0600) != 0600) {
            // Made under a strict umask: the player can still append to it next time.
            ::fchmod(file.Fd(), (file.Stat().st_mode & 07777) | 0600);
        }
        const int nErrno = WriteRecord(file, path, record, verdict.bCreate);
        return nErrno == 0 ? std::string() : std::strerror(nErrno);
    }
}

std::optional<CScoreLogFailure> SaveScoreRecord(const CScoreLogPlace& place,
                                                std::string_view record) {
    CScoreLogFailure failure;
    if (!place.besidePath.empty()) {
        failure = {place.besidePath, place.beside.refusal};
        if (failure.reason.empty()) {
            failure.reason = AppendToScoreLog(place.besidePath, place.user, record);
            if (failure.reason.empty()) {
                return std::nullopt;
            }
        }
    }
    if (!place.userPath.empty()) {
        const int nErrno = MakeFolders(place.foldersToMake, place.user);
        failure = {place.userPath, nErrno != 0
                                       ? std::strerror(nErrno)
                                       : AppendToScoreLog(place.userPath, place.user, record)};
        if (failure.reason.empty()) {
            return std::nullopt;
        }
    }
    return failure;
}
