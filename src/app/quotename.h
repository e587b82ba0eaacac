// A name as it is shown in a message.
#pragma once

#include <string>
#include <string_view>

// Quotes a name, such as a file name from the command line, for a message the way GNU tools do
// (ls --quoting-style=shell-escape-always): in single quotes, or in double quotes when it holds a
// single quote and nothing else a shell would act on, and with each byte that is not part of a
// printable UTF-8 character in $'...' as \n, \t or octal \033. The name can neither drive the
// terminal nor break the line, and pastes back into a shell as itself.
std::string QuoteName(std::string_view name);
