// The two event sounds of the game through the desktop's sound theme.
#pragma once

#include <memory>

#include "platform/wintypes.h"

struct ca_context;

class CEventSound {
public:
    CEventSound();
    ~CEventSound();
    CEventSound(const CEventSound&) = delete;
    CEventSound& operator=(const CEventSound&) = delete;

    // MB_ICONEXCLAMATION plays "dialog-warning", MB_ICONASTERISK "dialog-information". Where the
    // theme's sound cannot be played (no sound device, no theme, sounds switched off) the display's
    // bell rings instead. Returns at once: the sound plays on in the background.
    void Play(UINT nType);

    // Whether the last Play rang the bell instead of the theme's sound.
    bool m_bLastWasBell = false;

private:
    struct CContextDeleter {
        void operator()(ca_context* pContext) const;
    };
    std::unique_ptr<ca_context, CContextDeleter> m_pContext;
};
