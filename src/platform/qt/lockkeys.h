// The state of Caps Lock, Num Lock and Scroll Lock, where the desktop can tell.
#pragma once

#include <optional>

struct CLockKeyState {
    bool bCaps = false;
    bool bNum = false;
    bool bScroll = false;
    friend bool operator==(const CLockKeyState&, const CLockKeyState&) = default;
};

// Reads the keyboard's named indicators from the X server. Empty where there is no X display
// (offscreen, Wayland). A query costs a round trip to the server, so callers poll sparingly.
std::optional<CLockKeyState> QueryLockKeys();
