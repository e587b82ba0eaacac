// The runtime services the game relies on: a seeded pseudo-random sequence, the time and the
// running program's own path.
#pragma once

#include <cstdint>
#include <string>

class IRuntime {
public:
    virtual ~IRuntime() = default;

    // srand/rand semantics: the same seed gives the same sequence of non-negative numbers.
    virtual void srand(std::uint32_t nSeed) = 0;
    virtual int rand() = 0;

    // Seconds since the epoch.
    virtual std::int64_t time() = 0;

    // Full path of the running program's executable file; empty when it cannot be found.
    virtual std::string GetProgramPath() = 0;
};

// The real runtime: a linear congruential sequence (multiplier 214013, increment 2531011,
// results 0 to 32767), the system clock, and the executable from /proc/self/exe.
class CSystemRuntime final : public IRuntime {
public:
    void srand(std::uint32_t nSeed) override { m_nState = nSeed; }
    int rand() override;
    std::int64_t time() override;
    std::string GetProgramPath() override;

private:
    std::uint32_t m_nState = 1;
};
