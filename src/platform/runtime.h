// The runtime services the game relies on: a seeded pseudo-random sequence, the time, the
// running program's own path, the user it runs as and the player's own data folder.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The user whose rights the program acts with: effective ids and the supplementary groups.
struct CUserIds {
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;
};

// The player's own data folder, the base under which programs keep their files per user, and the
// folder at or above it that has to stand already: only folders below that one are ever made.
struct CDataFolder {
    std::string path;  // absolute and lexically normal, without a trailing '/'; empty when none
    std::string base;  // the home folder, or, for $XDG_DATA_HOME outside it, the folder above
};

// Whether path is folder or lies below it, taking both as written (no link is resolved).
bool IsAtOrBelow(const std::filesystem::path& path, const std::filesystem::path& folder);

class IRuntime {
public:
    virtual ~IRuntime() = default;

    // srand/rand semantics: the same seed gives the same sequence of non-negative numbers.
    virtual void srand(std::uint32_t nSeed) = 0;
    virtual int rand() = 0;

    // Seconds since the epoch.
    virtual std::int64_t time() = 0;

    // Full path of the running program's executable file, links resolved; empty when it cannot
    // be found.
    virtual std::string GetProgramPath() = 0;

    virtual CUserIds GetUserIds() = 0;

    // $XDG_DATA_HOME, else ~/.local/share. Only named, never created here.
    virtual CDataFolder GetUserDataDir() = 0;
};

// The real runtime: a linear congruential sequence (multiplier 214013, increment 2531011,
// results 0 to 32767), the system clock, the executable from /proc/self/exe, and the data folder
// from the environment: XDG_DATA_HOME when it is an absolute path, else HOME/.local/share, with
// the home folder of the password database when HOME is unset or not absolute. An XDG_DATA_HOME
// in the home folder has its missing folders made from there, as the default has.
class CSystemRuntime final : public IRuntime {
public:
    void srand(std::uint32_t nSeed) override { m_nState = nSeed; }
    int rand() override;
    std::int64_t time() override;
    std::string GetProgramPath() override;
    CUserIds GetUserIds() override;
    CDataFolder GetUserDataDir() override;

private:
    std::uint32_t m_nState = 1;
};
