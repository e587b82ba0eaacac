// The score log "zorvik.txt" beside the program: where it lies, reading it, appending to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The score log beside the program whose full path is given: its directory followed by
// "zorvik.txt". Empty when the path names no absolute directory (an empty path, or a bare or
// relative name), since the log is never looked for in the working directory.
std::string ScoreLogPathFor(std::string_view programPath);

// The best scores of levels 1 to 4 in the score log at path. A log that is missing, cannot be
// read or is no regular file reads as no games (all 0). The file is only read, never changed.
std::array<std::int32_t, 4> ReadScoreLogFile(const std::string& path);

// Appends record to the score log at path, creating it (mode 0644 before the umask) when it is
// missing. The record goes out in one write to a file opened for appending, so records that
// several programs append at the same time each stay whole. Returns false, having written
// nothing, when the log cannot be opened for appending or is no regular file.
bool AppendToScoreLog(const std::string& path, std::string_view record);
