#include "app/quotename.h"

#include <locale.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cwchar>
#include <cwctype>

namespace {

// The length of the printable UTF-8 character that str starts with, or 0 when its first byte must
// be escaped: a control character, a character that is not printable, or not valid UTF-8.
std::size_t PrintableLength(std::string_view str) {
    // Unicode's printable characters, whatever the program's own locale.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    const locale_t previous = uselocale(utf8);
    std::mbstate_t state{};
    wchar_t c = 0;
    const std::size_t nLength = std::mbrtowc(&c, str.data(), str.size(), &state);
    const bool bPrintable = nLength <= str.size() && std::iswprint(static_cast<wint_t>(c)) != 0;
    uselocale(previous);
    return bPrintable ? nLength : 0;
}

std::string Escaped(unsigned char nByte) {
    constexpr std::string_view kControls = "\a\b\t\n\v\f\r";
    constexpr std::string_view kLetters = "abtnvfr";
    const std::size_t nNamed = kControls.find(static_cast<char>(nByte));
    if (nNamed != std::string_view::npos) {
        return {'\\', kLetters[nNamed]};
    }
    char szOctal[5];
    std::snprintf(szOctal, sizeof(szOctal), "\\%03o", nByte);
    return szOctal;
}

// Whether a shell takes c as itself both inside double quotes and outside any quotes.
bool IsPlainInDoubleQuotes(char c) {
    return (c & 0x80) != 0 || std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view(" %+,-./:@]_").find(c) != std::string_view::npos;
}

}  // namespace

std::string QuoteName(std::string_view name) {
    std::string strQuoted = "'";
    bool bEscaped = false;    // some bytes are in $'...'
    bool bInEscapes = false;  // strQuoted ends inside $'...'
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t nPrintable = PrintableLength(name.substr(i));
        if (nPrintable == 0) {
            strQuoted += (bInEscapes ? "" : "'$'") + Escaped(static_cast<unsigned char>(name[i]));
            bEscaped = bInEscapes = true;
            ++i;
            continue;
        }
        strQuoted += name[i] == '\''
                         ? "'\\''"
                         : (bInEscapes ? "''" : "") + std::string(name.substr(i, nPrintable));
        bInEscapes = false;
        i += nPrintable;
    }
    // A single quote reads better in double quotes, where nothing else needs a shell's care. A
    // leading '~' or '#' needs it only outside quotes.
    const std::string_view rest = name.substr(name.starts_with('~') || name.starts_with('#'));
    if (!bEscaped && name.find('\'') != std::string_view::npos &&
        std::all_of(rest.begin(), rest.end(),
                    [](char c) { return c == '\'' || IsPlainInDoubleQuotes(c); })) {
        return "\"" + std::string(name) + "\"";
    }
    return strQuoted + "'";
}
