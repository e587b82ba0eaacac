// Translation of Qt's key events to the Windows virtual-key code and the PC keyboard's scan code
// (set 1), the two halves of the game's key codes.
#pragma once

#include <Qt>
#include <optional>

#include "platform/wintypes.h"

struct CKeyTranslation {
    UINT nVirtKey = 0;
    UINT nScanCode = 0;
    bool bExtended = false;  // the key's make code starts with 0xE0 (cursor block, right keys)

    // The high half of a key message's parameter.
    UINT Flags(bool bAutoRepeat) const {
        return nScanCode | (bExtended ? KF_EXTENDED : 0u) | (bAutoRepeat ? KF_REPEAT : 0u);
    }
};

// Maps Qt's key and its keypad modifier, which are the same on xcb, Wayland and offscreen, rather
// than the native scan code, which is an X keycode under xcb. The keypad's arrows, Home, End,
// PgUp, PgDn, Ins, Del and Clear (Num Lock off) give the cursor block's codes without the extended
// bit; its digits (Num Lock on) give VK_NUMPAD0 to VK_NUMPAD9. Keys without a PC equivalent give
// nothing.
std::optional<CKeyTranslation> TranslateKey(int nQtKey, Qt::KeyboardModifiers modifiers);
