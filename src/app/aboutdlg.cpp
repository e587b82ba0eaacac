// Placeholder until the About box lands.
#include "app/aboutdlg.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {}

int CAboutDlg::DoModal() {
    return 0;
}
