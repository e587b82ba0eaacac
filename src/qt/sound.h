// The two event sounds of the game through the desktop's sound theme.
#pragma once

#include <QObject>
#include <cstdint>
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
    // bell rings instead, and nothing is printed. Returns at once: the sound plays on in the
    // background.
    void Play(UINT nType);

    // Whether the last Play rang the bell instead of the theme's sound.
    bool m_bLastWasBell = false;

    // Whether libcanberra's context is open. It is open only while a sound plays: between sounds
    // no connection to a sound server and no thread of it can wake the program.
    bool IsOpen() const { return m_pContext != nullptr; }

private:
    // libcanberra calls this from a thread of its own when a sound has ended.
    static void OnFinished(ca_context* pContext, std::uint32_t nID, int nError, void* pUserData);
    // The same, back on the GUI thread.
    void OnSoundEnded();

    struct CContextDeleter {
        void operator()(ca_context* pContext) const;
    };
    // Declared before the context, so it outlives it: closing the context may still report sounds.
    std::unique_ptr<QObject> m_pReceiver;
    std::unique_ptr<ca_context, CContextDeleter> m_pContext;
    int m_nPlaying = 0;  // sounds started and not yet ended
};
