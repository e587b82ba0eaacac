#include "qt/xkblockkeys.h"

#include <sys/mman.h>

#include <cstring>

bool CXkbLockKeys::ReadKeymap(int fd, std::size_t nSize) {
    m_pState.reset();
    m_pKeymap.reset();
    if (!m_pContext) {
        // The compositor's keymap is complete: no file of the system's keyboard data is read.
        m_pContext.reset(xkb_context_new(static_cast<xkb_context_flags>(
            XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES)));
    }
    // Private: the compositor may share one file with every client.
    void* pMap =
        nSize > 0 && m_pContext ? mmap(nullptr, nSize, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
    if (pMap != MAP_FAILED) {
        const auto* pText = static_cast<const char*>(pMap);
        m_pKeymap.reset(xkb_keymap_new_from_buffer(m_pContext.get(), pText, strnlen(pText, nSize),
                                                   XKB_KEYMAP_FORMAT_TEXT_V1,
                                                   XKB_KEYMAP_COMPILE_NO_FLAGS));
        munmap(pMap, nSize);
    }
    if (m_pKeymap) {
        m_pState.reset(xkb_state_new(m_pKeymap.get()));
    }
    if (!m_pState) {
        m_state.reset();
    }
    return m_pState != nullptr;
}

void CXkbLockKeys::SetModifiers(std::uint32_t nDepressed, std::uint32_t nLatched,
                                std::uint32_t nLocked, std::uint32_t nGroup) {
    if (!m_pState) {
        return;
    }
    xkb_state_update_mask(m_pState.get(), nDepressed, nLatched, nLocked, 0, 0, nGroup);
    // A light the keymap does not have (-1) is off.
    const auto lit = [&](const char* pszName) {
        return xkb_state_led_name_is_active(m_pState.get(), pszName) > 0;
    };
    m_state =
        CLockKeyState{lit(XKB_LED_NAME_CAPS), lit(XKB_LED_NAME_NUM), lit(XKB_LED_NAME_SCROLL)};
}
