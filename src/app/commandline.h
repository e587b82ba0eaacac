// The command line: an optional file name, the usual --help and --version, and Qt's own options.
#pragma once

#include <string>
#include <vector>

struct CCommandLineInfo {
    enum class EShellCommand { kFileNew, kFileOpen, kHelp, kVersion, kUsageError };

    EShellCommand m_nShellCommand = EShellCommand::kFileNew;
    std::string m_strFileName;  // kFileOpen: the argument's bytes as given
    std::string m_strError;     // kUsageError: what was wrong, one line
};

// Parses the arguments after the program name. "--" ends the options: every later argument is a
// file name. --help or --version answers before anything else is looked at. Qt's own options
// (-platform NAME, -style NAME, -reverse ...) before "--" are passed over with their values, as
// Qt takes them out of the command line itself when the application starts.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText(const std::string& strProgram);
std::string VersionText();

// Opens the file for reading and closes it again; the game reads nothing from it. Only a regular
// file is opened at all: a named pipe or a device is refused before it is opened, so it can
// neither block nor act. Returns the reason when the file cannot be opened, else an empty string.
std::string CheckFileOpens(const std::string& strPath);
