#include "platform/strformat.h"

#include <cstdarg>
#include <cstdio>

std::string StrFormat(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list argsCopy;
    va_copy(argsCopy, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, args);
    va_end(args);
    std::string text;
    if (nLength > 0) {
        text.resize(static_cast<std::size_t>(nLength));
        std::vsnprintf(text.data(), text.size() + 1, pszFormat, argsCopy);
    }
    va_end(argsCopy);
    return text;
}
