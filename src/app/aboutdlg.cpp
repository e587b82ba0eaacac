#include "app/aboutdlg.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "app/dialogunits.h"
#include "platform/wintypes.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(QStringLiteral("Over Zorvik"));
    const CDialogUnits dlu(font());
    setFixedSize(dlu.Size(177, 287));

    // Each control at its place in dialog units, from the top left. The icon takes the size of
    // its 32x32 image rather than of its place.
    auto* pIcon = new QLabel(this);
    pIcon->setGeometry(QRect(QPoint(dlu.X(11), dlu.Y(17)), QSize(32, 32)));
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        pIcon->setPixmap(icon.pixmap(QSize(32, 32), devicePixelRatioF()));
    }

    auto makeStatic = [&](const QString& text, int x, int y, int cx, int cy) {
        auto* pLabel = new QLabel(text, this);
        pLabel->setTextFormat(Qt::PlainText);
        pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        pLabel->setWordWrap(true);
        dlu.Place(pLabel, x, y, cx, cy);
    };
    makeStatic(QStringLiteral("Zorvik Versie 1.0b"), 40, 10, 63, 8);

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("IDOK"));
    pOk->setGeometry(dlu.Rect(120, 7, 50, 14));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);

    makeStatic(QStringLiteral("Pijl links: Naar links\nPijl rechts: Naar rechts\n"
                              "Pijl op: Draai naar rechts\nPijl neer: Naar beneden"),
               18, 56, 89, 33);
    makeStatic(QStringLiteral("End: Spiegelen langs verticale as\nSpatie: Laat vallen\n"
                              "Pause: Pauzeer\nEsc: Stop spel"),
               18, 94, 119, 33);
    makeStatic(QStringLiteral("Niveau 1: Tetromino's\nNiveau 2: Pentomino's\nNiveau 3: Beide\n"
                              "Niveau 4: Halfom"),
               9, 132, 91, 37);
    makeStatic(QStringLiteral("Besturing:"), 7, 44, 52, 11);
    makeStatic(QStringLiteral("Score"), 7, 169, 22, 11);
    makeStatic(QStringLiteral("Per polyomino één of twee punten, per volle rij 10 punten.\n"
                              " Bij twee volle rijen tegelijkertijd 30, bij drie 60, bij vier "
                              "100 enz. Een helemaal leeggespeeld veld: 1000."),
               18, 180, 133, 43);
    makeStatic(QStringLiteral("Zaktijd"), 7, 225, 28, 10);
    makeStatic(QStringLiteral("Bij het verdwijnen van elke volle rij wordt de zaktijd verminderd "
                              "met 5 milliseconden, de zaktijd wordt echter nooit minder dan "
                              "150 ms."),
               18, 236, 126, 34);

    pOk->setFocus();
}

int CAboutDlg::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
