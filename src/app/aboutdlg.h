// The About box: version, keys, levels, scoring and the fall-time rule.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    // Runs the box until OK (IDOK), Esc or the close box (IDCANCEL); callers ignore the result.
    int DoModal();
};
