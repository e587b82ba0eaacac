// The score log "zorvik.txt": where it lies, reading it, appending to it.
#pragma once

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/zorvikdoc.h"
#include "platform/runtime.h"

// What lstat or stat told of one path.
struct CPathInfo {
    int nErrno = ENOENT;  // 0 when the path was found, else why not
    mode_t nMode = 0;     // type and permission bits
    uid_t uid = 0;
    gid_t gid = 0;
    dev_t dev = 0;
    ino_t ino = 0;
};

// What the file system says of a log: the name itself (lstat), the file it names (stat, the same
// unless the name is a symbolic link) and the folder it lies in.
struct CLogFacts {
    CPathInfo log;
    CPathInfo target;
    CPathInfo folder;
};

// Whether the effective user may append to a log.
struct CLogVerdict {
    std::string refusal;   // why not, in words; empty: yes
    bool bCreate = false;  // yes, by making the log where nothing of its name stands
    dev_t dev = 0;         // else yes, to this very regular file
    ino_t ino = 0;
};

// Decided from the mode bits and owners alone, for the superuser too: a regular file the user may
// write, or nothing of that name in a folder the user may write. A symbolic link is followed only
// when the link and the file it names both belong to the user.
CLogVerdict JudgeLog(const CLogFacts& facts, const CUserIds& user);

// Everything the choice of the log's place rests on.
struct CScoreLogFacts {
    std::string programPath;  // links resolved
    CUserIds user;
    CLogFacts besideProgram;  // of zorvik.txt in the program's folder
    CDataFolder dataFolder;
};

// Where a record goes: beside the program when that place may take it, else (or when the append
// there fails) to the player's own log.
struct CScoreLogPlace {
    std::string besidePath;  // empty for an installed program or one without a folder
    CLogVerdict beside;
    std::string userPath;  // $XDG_DATA_HOME/zorvik/zorvik.txt; empty without a data folder
    std::vector<std::string> foldersToMake;  // the user log's folders that may be made, in order
    CUserIds user;

    // The log a record goes to first, which the best scores are read from.
    const std::string& First() const {
        return besidePath.empty() || !beside.refusal.empty() ? userPath : besidePath;
    }
};

// The log stays beside the program, as it always was, in a build tree or a player's own copy, but
// never beside a program installed under /usr or /opt (the package manager's folders, which the
// superuser may write) and only where JudgeLog allows.
CScoreLogPlace ChooseScoreLogPlace(const CScoreLogFacts& facts);

// The place for the program that runs, from the file system as it stands. Creates nothing.
CScoreLogPlace ScoreLogPlaceOf(IRuntime& runtime);

// The best scores of levels 1 to kLevelCount in the score log at path. A log that is missing,
// cannot be read or is no regular file reads as no games (all 0); anything but a regular file is
// never opened. The file is only read, never changed.
std::array<std::int32_t, kLevelCount> ReadScoreLogFile(const std::string& path);

// Appends record to the log at path where JudgeLog allows, looking at it right before the open.
// The record goes out in one write to a file opened for appending, so records that several
// programs append at the same time each stay whole. A write that comes back short (a full disk, a
// size limit) is cut back off the log, so only whole records stand in it, and a log that this
// append made and could not fill is removed again. Returns why the record was not written, or an
// empty string.
std::string AppendToScoreLog(const std::string& path, const CUserIds& user,
                             std::string_view record);

// Where a record was last tried and why it could not be written there.
struct CScoreLogFailure {
    std::string path;  // empty when there was no place to try at all
    std::string reason;
};

// Appends record beside the program, else to the user log, making its missing folders (each for
// the player alone, whatever the umask). Returns nothing when the record was written.
std::optional<CScoreLogFailure> SaveScoreRecord(const CScoreLogPlace& place,
                                                std::string_view record);
