// Runs a program as a process of its own, the way a shell does: arguments as raw bytes, the
// environment changed where asked, its output caught. Also starts a private X server.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

struct CRun {
    int nExit = -1;              // the exit status, or -1 when it did not exit
    int nSignal = 0;             // the signal that ended it
    bool bStillRunning = false;  // still running after the wait, and then killed
    bool bSeen = false;          // fnSeen held while it ran
    std::string out;
    std::string err;
};

// Runs strProgram with args. Each entry of env is "NAME=value" to set a variable or "NAME" to
// remove it. A program still running after nWaitMs milliseconds, or once fnSeen returns true,
// is killed.
CRun RunProgram(const std::string& strProgram, const std::vector<std::string>& args,
                const std::vector<std::string>& env, int nWaitMs,
                const std::function<bool()>& fnSeen = {});

// An Xvfb server on a free display of its own choosing, for as long as the object lives. Not
// running where Xvfb is not installed.
class CXvfb {
public:
    CXvfb();
    ~CXvfb();
    CXvfb(const CXvfb&) = delete;
    CXvfb& operator=(const CXvfb&) = delete;

    bool IsRunning() const { return !m_strDisplay.empty(); }
    const std::string& Display() const { return m_strDisplay; }  // e.g. ":1"
    // Whether a top-level window whose title starts with strTitle is on the screen.
    bool ShowsWindow(const std::string& strTitle) const;

private:
    pid_t m_pid = -1;
    std::string m_strDisplay;
};
