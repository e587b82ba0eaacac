// Placeholder until the Options dialog lands.
#include "app/optionsdlg.h"

COptionsDlg::COptionsDlg(QWidget* pParent) : QDialog(pParent) {}

int COptionsDlg::DoModal() {
    return IDCANCEL;
}
