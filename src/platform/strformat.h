// printf formatting into a std::string, for the texts the player sees.
#pragma once

#include <string>

std::string StrFormat(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
