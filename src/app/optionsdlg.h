// The Options dialog: field size, level, starting fall interval and single-colour mode.
#pragma once

#include <QDialog>

#include "platform/wintypes.h"

class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit COptionsDlg(QWidget* pParent = nullptr);

    // Fills the controls from the members, runs until OK or Cancel and returns IDOK or IDCANCEL;
    // on OK the members hold the accepted values.
    int DoModal();

    COLORREF m_crColour = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nLevel = 0;
    int m_nFallTime = 0;
    BOOL m_bSingleColour = FALSE;
};
