#include "app/optionsdlg.h"

#include <QCheckBox>
#include <QColor>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QString>
#include <array>

#include "app/dialogunits.h"
#include "game/zorvikview.h"
#include "model/zorvikdoc.h"
#include "qt/colour.h"

COptionsDlg::COptionsDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(QStringLiteral("Opties"));
    const CDialogUnits dlu(font());
    setFixedSize(dlu.Size(147, 107));

    // Each control at its place in dialog units, and named by its control id (IDC_WIDTH ...), by
    // which the tests find it. The tab order is set below: the four edits, the check box, the
    // colour button, OK and Cancel.
    auto makeEdit = [&](const char* pszId, int x, int y) {
        auto* pEdit = new QLineEdit(this);
        pEdit->setObjectName(QLatin1String(pszId));
        pEdit->setGeometry(dlu.Rect(x, y, 27, 12));
        return pEdit;
    };
    m_pWidthEdit = makeEdit("IDC_WIDTH", 39, 7);
    m_pHeightEdit = makeEdit("IDC_HEIGHT", 39, 25);
    m_pLevelEdit = makeEdit("IDC_LEVEL", 39, 43);
    m_pFallTimeEdit = makeEdit("IDC_FALLTIME", 40, 62);

    m_pSingleColourCheck = new QCheckBox(QStringLiteral("Eén kleur"), this);
    m_pSingleColourCheck->setObjectName(QStringLiteral("IDC_SINGLECOLOUR"));
    dlu.Place(m_pSingleColourCheck, 7, 85, 43, 9);

    auto makeButton = [&](const char* pszId, const QString& text, int x, int y) {
        auto* pButton = new QPushButton(text, this);
        pButton->setObjectName(QLatin1String(pszId));
        pButton->setGeometry(dlu.Rect(x, y, 50, 14));
        return pButton;
    };
    QPushButton* pPickColour = makeButton("IDC_PICKCOLOUR", QStringLiteral("Geef kleur"), 90, 86);
    QPushButton* pOk = makeButton("IDOK", QStringLiteral("OK"), 90, 7);
    QPushButton* pCancel = makeButton("IDCANCEL", QStringLiteral("Cancel"), 90, 27);
    pOk->setDefault(true);
    CreateLabels(dlu);

    const std::array<QWidget*, 8> aTabOrder = {
        m_pWidthEdit,         m_pHeightEdit, m_pLevelEdit, m_pFallTimeEdit,
        m_pSingleColourCheck, pPickColour,   pOk,          pCancel};
    for (std::size_t i = 1; i < aTabOrder.size(); ++i) {
        QWidget::setTabOrder(aTabOrder[i - 1], aTabOrder[i]);
    }

    connect(pPickColour, &QPushButton::clicked, this, &COptionsDlg::OnPickColour);
    connect(pOk, &QPushButton::clicked, this, &COptionsDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &COptionsDlg::reject);
}

void COptionsDlg::CreateLabels(const CDialogUnits& dlu) {
    auto makeStatic = [&](const QString& text, int x, int y, int cx, int cy) {
        auto* pLabel = new QLabel(text, this);
        pLabel->setTextFormat(Qt::PlainText);
        pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        dlu.Place(pLabel, x, y, cx, cy);
        return pLabel;
    };
    // Each edit is named by the label before it, for screen readers; the texts after the level
    // and the fall time describe them. The labels have no mnemonic, and get none.
    makeStatic(QStringLiteral("Breedte: "), 7, 8, 28, 11)->setBuddy(m_pWidthEdit);
    makeStatic(QStringLiteral("Hoogte:"), 7, 26, 27, 11)->setBuddy(m_pHeightEdit);
    makeStatic(QStringLiteral("Niveau:"), 7, 44, 28, 11)->setBuddy(m_pLevelEdit);
    makeStatic(QStringLiteral("Valtijd:"), 8, 63, 25, 11)->setBuddy(m_pFallTimeEdit);
    m_pFallTimeEdit->setAccessibleDescription(
        makeStatic(QStringLiteral("milliseconden"), 73, 63, 43, 10)->text());
    m_pLevelEdit->setAccessibleDescription(
        makeStatic(QStringLiteral("1 t/m 4"), 73, 45, 54, 10)->text());
}

int COptionsDlg::DoModal() {
    m_pWidthEdit->setText(QString::number(m_nWidth));
    m_pHeightEdit->setText(QString::number(m_nHeight));
    m_pLevelEdit->setText(QString::number(m_nLevel));
    m_pFallTimeEdit->setText(QString::number(m_nFallTime));
    m_pSingleColourCheck->setChecked(m_bSingleColour);
    m_crColourOnOpen = m_crColour;

    // The dialog opens ready to overtype the width.
    m_pWidthEdit->setFocus(Qt::TabFocusReason);
    m_pWidthEdit->selectAll();

    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void COptionsDlg::accept() {
    // The fields are read in order and the first refused one ends the reading, so the player
    // hears about one fault at a time. The members change only when all are accepted: a dialog
    // cancelled after a refused OK hands back nothing.
    int nWidth = 0;
    int nHeight = 0;
    int nLevel = 0;
    int nFallTime = 0;
    if (!ReadNumber(m_pWidthEdit, kMinFieldSize, kMaxFieldSize, nWidth) ||
        !ReadNumber(m_pHeightEdit, kMinFieldSize, kMaxFieldSize, nHeight) ||
        !ReadNumber(m_pLevelEdit, 1, kLevelCount, nLevel) ||
        !ReadNumber(m_pFallTimeEdit, kMinFallTime, kMaxFallTime, nFallTime)) {
        return;
    }
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nLevel = nLevel;
    m_nFallTime = nFallTime;
    m_bSingleColour = m_pSingleColourCheck->isChecked() ? TRUE : FALSE;
    QDialog::accept();
}

void COptionsDlg::reject() {
    m_crColour = m_crColourOnOpen;
    QDialog::reject();
}

bool COptionsDlg::ReadNumber(QLineEdit* pEdit, int nMin, int nMax, int& nValue) {
    // A whole number is an optional sign and decimal digits, blanks around it allowed.
    static const QRegularExpression kWholeNumber(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+")));
    const QString text = pEdit->text().trimmed();
    QString fault;
    if (!kWholeNumber.match(text).hasMatch()) {
        fault = QStringLiteral("Geef een geheel getal.");
    } else {
        bool bOk = false;
        nValue = text.toInt(&bOk);
        // Digits beyond the range of an int are a whole number too, just far out of bounds.
        if (!bOk || nValue < nMin || nValue > nMax) {
            fault = QStringLiteral("Geef een geheel getal tussen %1 en %2.").arg(nMin).arg(nMax);
        }
    }
    if (fault.isEmpty()) {
        return true;
    }

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zorvik"), fault, QMessageBox::Ok, this);
    box.exec();
    // Where no window manager hands the activation back, the dialog takes it itself.
    activateWindow();
    pEdit->setFocus(Qt::OtherFocusReason);
    pEdit->selectAll();
    return false;
}

void COptionsDlg::OnPickColour() {
    // Qt's own chooser, the same on every desktop (and one that tests can drive). It starts at
    // the current colour and allows any colour. The colour is set only once the chooser is Qt's
    // own: under a platform theme with a chooser of its own (GTK's), a colour given at
    // construction goes to the theme's chooser, and Qt's starts on nothing.
    QColorDialog dialog(this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setCurrentColor(ToQColor(m_crColour));
    if (dialog.exec() == QDialog::Accepted) {
        m_crColour = ToColorRef(dialog.selectedColor());
    }
    // Where no window manager hands the activation back, the dialog takes it itself.
    activateWindow();
}
