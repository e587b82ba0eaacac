#include "qt/sound.h"

#include <alsa/asoundlib.h>
#include <canberra.h>
#include <QApplication>

namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void CEventSound::CContextDeleter::operator()(ca_context* pContext) const {
    ca_context_destroy(pContext);
}

CEventSound::CEventSound() : m_pReceiver(std::make_unique<QObject>()) {
    // Without a sound card ALSA prints eight lines a sound on stderr, through its error handler,
    // while the failure itself reaches us as libcanberra's result and rings the bell. libcanberra
    // loads its ALSA backend only when the first sound plays, but that backend uses the same
    // libasound as this program, which links it: its handler is this one.
    snd_lib_error_set_handler(&IgnoreAlsaError);
}

CEventSound::~CEventSound() = default;

void CEventSound::Play(UINT nType) {
    const char* pszEvent = nType == MB_ICONASTERISK ? "dialog-information" : "dialog-warning";
    const char* pszDescription = nType == MB_ICONASTERISK ? "Veld leeg" : "Spel afgelopen";
    if (!m_pContext) {
        ca_context* pContext = nullptr;
        if (ca_context_create(&pContext) == CA_SUCCESS) {
            m_pContext.reset(pContext);
            ca_context_change_props(pContext, CA_PROP_APPLICATION_NAME, "Zorvik",
                                    CA_PROP_APPLICATION_ID, "zorvik", nullptr);
        }
    }
    int nResult = CA_ERROR_NOTAVAILABLE;
    ca_proplist* pProps = nullptr;
    if (m_pContext && ca_proplist_create(&pProps) == CA_SUCCESS) {
        ca_proplist_sets(pProps, CA_PROP_EVENT_ID, pszEvent);
        ca_proplist_sets(pProps, CA_PROP_EVENT_DESCRIPTION, pszDescription);
        nResult = ca_context_play_full(m_pContext.get(), 0, pProps, &CEventSound::OnFinished, this);
        ca_proplist_destroy(pProps);
    }
    if (nResult == CA_SUCCESS) {
        ++m_nPlaying;
    } else if (m_nPlaying == 0) {
        m_pContext.reset();
    }
    m_bLastWasBell = nResult != CA_SUCCESS;
    if (m_bLastWasBell) {
        QApplication::beep();
    }
}

void CEventSound::OnFinished(ca_context*, std::uint32_t, int, void* pUserData) {
    // The receiver lives until the context is closed, and no report comes after that.
    auto* pThis = static_cast<CEventSound*>(pUserData);
    QMetaObject::invokeMethod(
        pThis->m_pReceiver.get(), [pThis] { pThis->OnSoundEnded(); }, Qt::QueuedConnection);
}

void CEventSound::OnSoundEnded() {
    if (m_nPlaying > 0 && --m_nPlaying == 0) {
        m_pContext.reset();
    }
}
