#include "app/aboutdlg.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "app/dialogunits.h"
#include "platform/wintypes.h"

namespace {

// The box's controls in order, each at its place in dialog units from the top left: its static
// texts, and the OK button where the text is null.
struct CControl {
    const char* pszText;
    int aPlace[4];  // x, y, cx, cy
};
constexpr CControl kControls[] = {
    {"Zorvik Versie 1.0b", {40, 10, 63, 8}},
    {nullptr, {120, 7, 50, 14}},
    {"Pijl links: Naar links\nPijl rechts: Naar rechts\nPijl op: Draai naar rechts\n"
     "Pijl neer: Naar beneden",
     {18, 56, 89, 33}},
    {"End: Spiegelen langs verticale as\nSpatie: Laat vallen\nPause: Pauzeer\nEsc: Stop spel",
     {18, 94, 119, 33}},
    {"Niveau 1: Tetromino's\nNiveau 2: Pentomino's\nNiveau 3: Beide\nNiveau 4: Halfom",
     {9, 132, 91, 37}},
    {"Besturing:", {7, 44, 52, 11}},
    {"Score", {7, 169, 22, 11}},
    {"Per polyomino één of twee punten, per volle rij 10 punten.\n Bij twee volle rijen "
     "tegelijkertijd 30, bij drie 60, bij vier 100 enz. Een helemaal leeggespeeld veld: 1000.",
     {18, 180, 133, 43}},
    {"Zaktijd", {7, 225, 28, 10}},
    {"Bij het verdwijnen van elke volle rij wordt de zaktijd verminderd met 5 milliseconden, de "
     "zaktijd wordt echter nooit minder dan 150 ms.",
     {18, 236, 126, 34}},
};

}  // namespace

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(QStringLiteral("Over Zorvik"));
    const CDialogUnits dlu(font());
    setFixedSize(dlu.Size(177, 287));

    // The icon takes the size of its 32x32 image rather than of its place.
    auto* pIcon = new QLabel(this);
    pIcon->setGeometry(QRect(QPoint(dlu.X(11), dlu.Y(17)), QSize(32, 32)));
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        pIcon->setPixmap(icon.pixmap(QSize(32, 32), devicePixelRatioF()));
    }
    for (const CControl& control : kControls) {
        const auto& [x, y, cx, cy] = control.aPlace;
        if (control.pszText == nullptr) {
            auto* pOk = new QPushButton(QStringLiteral("OK"), this);
            pOk->setObjectName(QStringLiteral("IDOK"));
            pOk->setGeometry(dlu.Rect(x, y, cx, cy));
            pOk->setDefault(true);
            pOk->setFocus();
            connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
            continue;
        }
        auto* pLabel = new QLabel(QString::fromUtf8(control.pszText), this);
        pLabel->setTextFormat(Qt::PlainText);
        pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        pLabel->setWordWrap(true);
        dlu.Place(pLabel, x, y, cx, cy);
    }
}

int CAboutDlg::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
