// The enabled state of one command, asked of the view before the command is offered or run.
#pragma once

#include "platform/wintypes.h"

class CCmdUI {
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}

    void Enable(BOOL bOn = TRUE) {
        m_bEnabled = bOn;
        m_bEnableChanged = true;
    }

    UINT m_nID;
    BOOL m_bEnabled = TRUE;
    bool m_bEnableChanged = false;  // an update handler decided the state
};
