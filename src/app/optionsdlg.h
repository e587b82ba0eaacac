// The Options dialog: field size, level, starting fall interval and single-colour mode.
#pragma once

#include <QDialog>

#include "platform/viewwindow.h"
#include "platform/wintypes.h"

class CDialogUnits;
class QCheckBox;
class QLineEdit;

// The dialog's values are its COptionsValues members, m_crColour to m_bSingleColour: the caller
// sets them all before DoModal and reads them back after IDOK.
class COptionsDlg : public QDialog, public COptionsValues {
    Q_OBJECT

public:
    explicit COptionsDlg(QWidget* pParent = nullptr);

    // Fills the controls from the members, runs until OK or Cancel and returns IDOK or IDCANCEL;
    // on OK the members hold the accepted values.
    int DoModal();

    // "Geef kleur": lets the player choose m_crColour; no control shows it.
    void OnPickColour();

    // OK: takes the values over only when every field is accepted, else reports the first
    // refused one and stays open.
    void accept() override;
    // Cancel, Esc and the close box: the members keep the values they had on opening, a colour
    // chosen meanwhile included.
    void reject() override;

private:
    // The static texts, each placed in dialog units and tied to the edit it labels.
    void CreateLabels(const CDialogUnits& dlu);
    // Reads one edit as a whole number within nMin..nMax. On refusal it tells the player why,
    // puts the focus on the edit with its text selected and returns false.
    bool ReadNumber(QLineEdit* pEdit, int nMin, int nMax, int& nValue);

    QLineEdit* m_pWidthEdit = nullptr;
    QLineEdit* m_pHeightEdit = nullptr;
    QLineEdit* m_pLevelEdit = nullptr;
    QLineEdit* m_pFallTimeEdit = nullptr;
    QCheckBox* m_pSingleColourCheck = nullptr;
    COLORREF m_crColourOnOpen = 0;
};
