// The game's key codes: virtual-key code x 1000 + the PC keyboard's scan code (set 1). A key is
// recognised only when both halves match; the keypad's arrows and End with Num Lock off give
// the same codes as the cursor block.
#pragma once

#include "platform/wintypes.h"

constexpr UINT kScanPause = 69;
constexpr UINT kScanEscape = 1;
constexpr UINT kScanSpace = 57;
constexpr UINT kScanEnd = 79;
constexpr UINT kScanLeft = 75;
constexpr UINT kScanUp = 72;
constexpr UINT kScanRight = 77;
constexpr UINT kScanDown = 80;

constexpr UINT MakeKeyCode(UINT nChar, UINT nFlags) {
    return nChar * 1000 + (nFlags & 0xFF);
}

constexpr UINT kKeyPause = MakeKeyCode(VK_PAUSE, kScanPause);     // 19069
constexpr UINT kKeyEscape = MakeKeyCode(VK_ESCAPE, kScanEscape);  // 27001
constexpr UINT kKeySpace = MakeKeyCode(VK_SPACE, kScanSpace);     // 32057
constexpr UINT kKeyEnd = MakeKeyCode(VK_END, kScanEnd);           // 35079
constexpr UINT kKeyLeft = MakeKeyCode(VK_LEFT, kScanLeft);        // 37075
constexpr UINT kKeyUp = MakeKeyCode(VK_UP, kScanUp);              // 38072
constexpr UINT kKeyRight = MakeKeyCode(VK_RIGHT, kScanRight);     // 39077
constexpr UINT kKeyDown = MakeKeyCode(VK_DOWN, kScanDown);        // 40080
