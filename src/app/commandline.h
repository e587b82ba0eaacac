// The command line: an optional file name, and the usual --help and --version.
#pragma once

#include <string>
#include <vector>

struct CCommandLineInfo {
    enum class EShellCommand { kFileNew, kFileOpen, kHelp, kVersion, kUsageError };

    EShellCommand m_nShellCommand = EShellCommand::kFileNew;
    std::string m_strFileName;  // kFileOpen
    std::string m_strError;     // kUsageError: what was wrong, one line
};

// Parses the arguments after the program name. "--" ends the options; --help or --version
// answers before anything else is looked at.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText(const std::string& strProgram);
std::string VersionText();

// Opens the file for reading and closes it again; the game reads nothing from it. Returns the
// reason when it cannot be opened, else an empty string.
std::string CheckFileOpens(const std::string& strPath);
