// Dialog units: the dialogs are laid out in units of their font, so they keep their proportions
// with whatever font the desktop gives them.
#pragma once

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QRect>
#include <QRegularExpression>
#include <QSize>
#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>

// One horizontal dialog unit is a quarter of the font's average character width (of the letters
// A to Z and a to z), one vertical unit an eighth of its height.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        m_dBaseX = metrics.horizontalAdvance(
                       QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                   52.0;
        m_dBaseY = metrics.height();
    }

    int X(int nDlu) const { return qRound(nDlu * m_dBaseX / 4.0); }
    int Y(int nDlu) const { return qRound(nDlu * m_dBaseY / 8.0); }
    QSize Size(int cx, int cy) const { return {X(cx), Y(cy)}; }
    QRect Rect(int x, int y, int cx, int cy) const { return {X(x), Y(y), X(cx), Y(cy)}; }

    // Puts a control at its place in dialog units. The units fit the proportions of the font the
    // dialogs were drawn for; where the desktop's font runs wider, a static text or check box
    // would be cut off, so it keeps its place but grows to the right and down as far as its text
    // needs. (The push buttons are wide enough for their texts in any font.)
    void Place(QWidget* pControl, int x, int y, int cx, int cy) const {
        QRect rect = Rect(x, y, cx, cy);
        if (auto* pLabel = qobject_cast<QLabel*>(pControl); pLabel != nullptr) {
            if (pLabel->wordWrap()) {
                rect.setWidth(std::max(rect.width(), LongestWord(*pLabel)));
                rect.setHeight(std::max(rect.height(), pLabel->heightForWidth(rect.width())));
            } else {
                rect.setSize(rect.size().expandedTo(pLabel->sizeHint()));
            }
        } else if (qobject_cast<QCheckBox*>(pControl) != nullptr) {
            rect.setWidth(std::max(rect.width(), pControl->sizeHint().width()));
        }
        pControl->setGeometry(rect);
    }

private:
    static int LongestWord(const QLabel& label) {
        const QFontMetrics metrics(label.font());
        int nWidest = 0;
        for (const QString& word :
             label.text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            nWidest = std::max(nWidest, metrics.horizontalAdvance(word));
        }
        return nWidest + 2 * label.margin();
    }

    double m_dBaseX = 0;
    double m_dBaseY = 0;
};
