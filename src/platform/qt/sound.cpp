#include "platform/qt/sound.h"

#include <canberra.h>
#include <QApplication>

void CEventSound::CContextDeleter::operator()(ca_context* pContext) const {
    ca_context_destroy(pContext);
}

CEventSound::CEventSound() {
    ca_context* pContext = nullptr;
    if (ca_context_create(&pContext) == CA_SUCCESS) {
        m_pContext.reset(pContext);
        ca_context_change_props(pContext, CA_PROP_APPLICATION_NAME, "Zorvik",
                                CA_PROP_APPLICATION_ID, "zorvik", nullptr);
    }
}

CEventSound::~CEventSound() = default;

void CEventSound::Play(UINT nType) {
    const char* pszEvent = nType == MB_ICONASTERISK ? "dialog-information" : "dialog-warning";
    const char* pszDescription = nType == MB_ICONASTERISK ? "Veld leeg" : "Spel afgelopen";
    int nResult = CA_ERROR_NOTAVAILABLE;
    if (m_pContext) {
        nResult = ca_context_play(m_pContext.get(), 0, CA_PROP_EVENT_ID, pszEvent,
                                  CA_PROP_EVENT_DESCRIPTION, pszDescription, nullptr);
    }
    m_bLastWasBell = nResult != CA_SUCCESS;
    if (m_bLastWasBell) {
        QApplication::beep();
    }
}
