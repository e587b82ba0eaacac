// The score log "zorvik.txt": where it lies, reading it, appending to it.
#pragma once

#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/zorvikdoc.h"
#include "platform/runtime.h"

using CBestScores = std::array<std::int32_t, kLevelCount>;

// Whether the mode bits give the user the rights in nWanted (as S_IRWXO bits): the owner's bits
// for the owner, the group's for a member of the group, the others' bits for everyone else. They
// decide for the superuser too, who could otherwise write anywhere.
bool ModeAllows(const struct stat& st, const CUserIds& user, mode_t nWanted);

// The two logs of the program that runs. Every file and folder on their way is judged by what
// was opened, never by a name looked at earlier, and a symbolic link named zorvik.txt is never
// followed: another user who can rename names in a folder cannot steer a read or a write.
struct CScoreLogPlace {
    // Beside the program, as it always was, in a build tree or a player's own copy; empty for a
    // program installed under /usr or /opt (the package manager's folders) or one without an
    // absolute folder.
    std::string beside;
    // The player's own, $XDG_DATA_HOME/zorvik/zorvik.txt; empty without a data folder. Its
    // missing folders are made below ownBase, which is never made itself.
    std::string own;
    std::string ownBase;
    CUserIds user;
};

CScoreLogPlace ScoreLogPlaceOf(IRuntime& runtime);

// The best scores of levels 1 to kLevelCount in the log at path, reached as the log beside the
// program is: from "/", a link followed only in a folder that nobody but the user can change. A log
// that is missing, no regular file or one the mode bits do not let the user read counts as no
// games. The file is only read.
CBestScores ReadScoreLogFile(const std::string& path, const CUserIds& user);

// The best scores of both logs, the higher of each level: every record kept for the player,
// wherever it went.
CBestScores ReadBestScoresOf(const CScoreLogPlace& place);

// Appends record to the log at path, reached as by ReadScoreLogFile, where its mode bits let the
// user write, or makes it (mode 0666 less the umask) where the folder's bits let the user write.
// The record goes out in one write under an advisory lock that every copy takes, so records
// appended at the same time each stay whole, and a write that comes back short (a full disk, a
// size limit) is cut back to the log's length before it without touching another copy's record.
// Returns why the record was not written, or an empty string.
std::string AppendToScoreLog(const std::string& path, const CUserIds& user,
                             std::string_view record);

// Where a record was last tried and why it could not be written there.
struct CScoreLogFailure {
    std::string path;  // empty when there was no place to try at all
    std::string reason;
};

// Appends record beside the program, else to the player's own log, making its missing folders
// for the player alone. Returns nothing when the record was written.
std::optional<CScoreLogFailure> SaveScoreRecord(const CScoreLogPlace& place,
                                                std::string_view record);
