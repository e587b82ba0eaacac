// The lock keys as a Wayland compositor describes them: a keymap shared as a file, then the
// modifier masks, which the keymap's lights turn into Caps Lock, Num Lock and Scroll Lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include <xkbcommon/xkbcommon.h>

#include "qt/lockkeys.h"

class CXkbLockKeys {
public:
    // Compiles the keymap from the file the compositor shares: nSize bytes of keymap text,
    // usually ending in a NUL. Does not close fd. A keymap that cannot be read leaves the lock
    // keys unknown; a good one keeps the state shown until the next modifiers arrive.
    bool ReadKeymap(int fd, std::size_t nSize);

    // The masks of the modifiers event, in the keymap's own modifier bits, and its layout group.
    void SetModifiers(std::uint32_t nDepressed, std::uint32_t nLatched, std::uint32_t nLocked,
                      std::uint32_t nGroup);

    // The lock keys by the last modifiers; empty before the first, or without a keymap.
    std::optional<CLockKeyState> State() const { return m_state; }

private:
    template <auto fnUnref>
    struct CUnref {
        void operator()(auto* p) const { fnUnref(p); }
    };
    std::unique_ptr<xkb_context, CUnref<xkb_context_unref>> m_pContext;
    std::unique_ptr<xkb_keymap, CUnref<xkb_keymap_unref>> m_pKeymap;
    std::unique_ptr<xkb_state, CUnref<xkb_state_unref>> m_pState;
    std::optional<CLockKeyState> m_state;
};
