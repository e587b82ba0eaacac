// The score log "zorvik.txt": where it lies, reading it, appending to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/zorvikdoc.h"

// The score log beside the program whose full path is given: its directory followed by
// "zorvik.txt". Empty when the path names no absolute directory (an empty path, or a bare or
// relative name), since the log is never looked for in the working directory.
std::string ScoreLogPathFor(std::string_view programPath);

// The score log in the player's own data folder: userDataDir/zorvik/zorvik.txt. Empty when the
// data folder is not an absolute path.
std::string UserScoreLogPathFor(std::string_view userDataDir);

// Whether the score log at path can take a record, found out without creating or opening
// anything: a regular file (also through a symbolic link) that may be written, or nothing at all
// of that name (not even a dangling link) in a folder where a file may be made.
bool CanTakeScoreLog(const std::string& path);

// Where the score log lies.
struct CScoreLogPlace {
    std::string path;          // empty: there is no log, it reads as no games and takes nothing
    bool bUserFolder = false;  // in the player's data folder, which appending may have to make
};

// The log beside the program wherever that place can take a record, as it always was; else the
// log in the player's data folder (an installed copy in a folder the player cannot write). The
// best scores are read from the same place the records go to. Creates nothing.
CScoreLogPlace ChooseScoreLogPlace(std::string_view programPath, std::string_view userDataDir);

// Makes the folder of the log at path, and every missing folder above it, each with mode 0700.
// Returns whether the folder is there now.
bool MakeScoreLogFolder(const std::string& path);

// The best scores of levels 1 to kLevelCount in the score log at path. A log that is missing,
// cannot be read or is no regular file reads as no games (all 0); anything but a regular file is
// never opened. The file is only read, never changed.
std::array<std::int32_t, kLevelCount> ReadScoreLogFile(const std::string& path);

// Appends record to the score log at path. Only a regular file is opened, also through a
// symbolic link to one; a missing log is created (mode 0644 before the umask) only where nothing
// of that name stands, never through a link. The record goes out in one write to a file opened
// for appending, so records that several programs append at the same time each stay whole. A
// write that comes back short (a full disk, a size limit) is cut back off the log, so only whole
// records stand in it. Returns whether the whole record was written.
bool AppendToScoreLog(const std::string& path, std::string_view record);
