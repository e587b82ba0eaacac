// The few Windows-style types and constants the game speaks in. The game's rules, its
// drawing decisions and its score log are expressed with them, so they stay independent of
// any toolkit.
#pragma once

#include <cstdint>

using BOOL = std::int32_t;
using UINT = std::uint32_t;
using UINT_PTR = std::uintptr_t;

// A colour laid out 0x00BBGGRR.
using COLORREF = std::uint32_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF cr) {
    return static_cast<std::uint8_t>(cr & 0xFF);
}
constexpr std::uint8_t GetGValue(COLORREF cr) {
    return static_cast<std::uint8_t>((cr >> 8) & 0xFF);
}
constexpr std::uint8_t GetBValue(COLORREF cr) {
    return static_cast<std::uint8_t>((cr >> 16) & 0xFF);
}

// Message box types and results.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_ICONEXCLAMATION = 0x30;  // the warning sound: a game has ended
constexpr UINT MB_ICONASTERISK = 0x40;     // the information sound: the field was played empty
constexpr UINT MB_ICONMASK = 0xF0;         // the bits of a type that name its icon
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Virtual-key codes of the keys the game knows.
constexpr UINT VK_PAUSE = 19;
constexpr UINT VK_ESCAPE = 27;
constexpr UINT VK_SPACE = 32;
constexpr UINT VK_END = 35;
constexpr UINT VK_LEFT = 37;
constexpr UINT VK_UP = 38;
constexpr UINT VK_RIGHT = 39;
constexpr UINT VK_DOWN = 40;
constexpr UINT VK_F1 = 112;
// Bits of a key message's flags above the scan code.
constexpr UINT KF_EXTENDED = 0x0100;  // the key's make code starts with 0xE0
constexpr UINT KF_REPEAT = 0x4000;    // the key was down already: an auto-repeat

// A rectangle in client pixels; right and bottom are exclusive.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};
