// The Options and About dialogs as the player meets them: real widgets driven by simulated
// keys and clicks on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/aboutdlg.h"
#include "app/optionsdlg.h"
#include "guimain/modalscript.h"

namespace {

QLineEdit* Edit(QWidget* pDlg, const char* pszId) {
    return pDlg->findChild<QLineEdit*>(QLatin1String(pszId));
}
QPushButton* Button(QWidget* pDlg, const char* pszId) {
    return pDlg->findChild<QPushButton*>(QLatin1String(pszId));
}
QCheckBox* Check(QWidget* pDlg) {
    return pDlg->findChild<QCheckBox*>(QStringLiteral("IDC_SINGLECOLOUR"));
}
// Overtypes an edit's whole text as the player would.
void Type(QLineEdit* pEdit, const QString& text) {
    pEdit->setFocus(Qt::MouseFocusReason);
    pEdit->selectAll();
    QTest::keyClick(pEdit, Qt::Key_Delete);
    bool bAscii = true;
    for (QChar ch : text) {
        bAscii = bAscii && ch.unicode() < 128;
    }
    if (bAscii) {
        QTest::keyClicks(pEdit, text);
    } else {
        pEdit->insert(text);  // as an input method would enter it
    }
}

// The texts of the message boxes that pressing OK raised; each is closed with its OK button.
std::vector<QString> PressOkExpectingRefusal(QWidget* pDlg) {
    auto pTexts = std::make_shared<std::vector<QString>>();
    const CModalScript refusal([pTexts](QWidget* pModal) {
        auto* pBox = qobject_cast<QMessageBox*>(pModal);
        EXPECT_NE(pBox, nullptr) << "expected a message box";
        if (pBox != nullptr) {
            pTexts->push_back(pBox->text());
            EXPECT_EQ(pBox->windowTitle(), QStringLiteral("Zorvik"));
            pBox->button(QMessageBox::Ok)->click();
        }
    });
    QTest::mouseClick(Button(pDlg, "IDOK"), Qt::LeftButton);
    return *pTexts;
}

// The geometry a control of the given dialog units has in the dialog's font.
QRect DluRect(const QWidget* pDlg, int x, int y, int cx, int cy) {
    const QFontMetrics metrics(pDlg->font());
    const double dBaseX = metrics.horizontalAdvance(QStringLiteral(
                              "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                          52.0;
    const double dBaseY = metrics.height();
    auto px = [](int n, double d, int nDiv) { return qRound(n * d / nDiv); };
    return {px(x, dBaseX, 4), px(y, dBaseY, 8), px(cx, dBaseX, 4), px(cy, dBaseY, 8)};
}

// Whether a static text or check box of this size shows its text whole.
bool ShowsTextWhole(const QWidget* pControl, QSize size) {
    if (const auto* pLabel = qobject_cast<const QLabel*>(pControl); pLabel && pLabel->wordWrap()) {
        const QFontMetrics metrics(pLabel->font());
        for (const QString& word :
             pLabel->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            if (metrics.horizontalAdvance(word) > size.width()) {
                return false;
            }
        }
        return pLabel->heightForWidth(size.width()) <= size.height();
    }
    const QSize need = pControl->sizeHint();
    return need.width() <= size.width() &&
           (qobject_cast<const QCheckBox*>(pControl) != nullptr || need.height() <= size.height());
}

// A static text or check box sits at its place in dialog units and has their size, unless the
// font needs more room: then it grows as far as its text needs, inside the dialog.
void ExpectPlacedWhole(const QWidget* pDlg, const QWidget* pControl, const QRect& dlu) {
    const QRect rect = pControl->geometry();
    EXPECT_EQ(rect.topLeft(), dlu.topLeft());
    EXPECT_GE(rect.width(), dlu.width());
    EXPECT_GE(rect.height(), dlu.height());
    EXPECT_TRUE(ShowsTextWhole(pControl, rect.size())) << "text cut off";
    if (ShowsTextWhole(pControl, dlu.size())) {
        EXPECT_EQ(rect, dlu) << "grown without need";
    }
    EXPECT_TRUE(QRect(QPoint(0, 0), pDlg->size()).contains(rect));
}

// A dialog with the settings of a new game, as the Options command fills it.
struct COptionsFixture : ::testing::Test {
    COptionsFixture() {
        dlg.m_crColour = 0x0048BB79;
        dlg.m_nWidth = 10;
        dlg.m_nHeight = 15;
        dlg.m_nLevel = 1;
        dlg.m_nFallTime = 1000;
        dlg.m_bSingleColour = TRUE;
    }

    // Runs the dialog with fnScript playing the player; returns what DoModal returned.
    int Run(const std::function<void(QWidget*)>& fnScript) {
        const CModalScript script(fnScript);
        return dlg.DoModal();
    }

    void ExpectMembersUnchanged() {
        EXPECT_EQ(dlg.m_crColour, 0x0048BB79u);
        EXPECT_EQ(dlg.m_nWidth, 10);
        EXPECT_EQ(dlg.m_nHeight, 15);
        EXPECT_EQ(dlg.m_nLevel, 1);
        EXPECT_EQ(dlg.m_nFallTime, 1000);
        EXPECT_EQ(dlg.m_bSingleColour, TRUE);
    }

    COptionsDlg dlg;
};

using OptionsDialog = COptionsFixture;

}  // namespace

// The dialog opens with the caller's values, ready for the width to be overtyped.
TEST_F(OptionsDialog, OpensShowingTheCurrentValues) {
    const int nResult = Run([](QWidget* pDlg) {
        EXPECT_EQ(pDlg->windowTitle(), QStringLiteral("Opties"));
        EXPECT_EQ(Edit(pDlg, "IDC_WIDTH")->text(), QStringLiteral("10"));
        EXPECT_EQ(Edit(pDlg, "IDC_HEIGHT")->text(), QStringLiteral("15"));
        EXPECT_EQ(Edit(pDlg, "IDC_LEVEL")->text(), QStringLiteral("1"));
        EXPECT_EQ(Edit(pDlg, "IDC_FALLTIME")->text(), QStringLiteral("1000"));
        EXPECT_TRUE(Check(pDlg)->isChecked());
        EXPECT_TRUE(QTest::qWaitFor([&] { return Edit(pDlg, "IDC_WIDTH")->hasFocus(); }));
        EXPECT_EQ(Edit(pDlg, "IDC_WIDTH")->selectedText(), QStringLiteral("10"));
        EXPECT_TRUE(Button(pDlg, "IDOK")->isDefault());
        EXPECT_FALSE(Button(pDlg, "IDCANCEL")->isDefault());
        QTest::mouseClick(Button(pDlg, "IDCANCEL"), Qt::LeftButton);
    });
    EXPECT_EQ(nResult, IDCANCEL);

    // A second run shows other values, the check box cleared.
    dlg.m_nWidth = 50;
    dlg.m_nHeight = 33;
    dlg.m_nLevel = 4;
    dlg.m_nFallTime = 2000;
    dlg.m_bSingleColour = FALSE;
    Run([](QWidget* pDlg) {
        EXPECT_EQ(Edit(pDlg, "IDC_WIDTH")->text(), QStringLiteral("50"));
        EXPECT_EQ(Edit(pDlg, "IDC_HEIGHT")->text(), QStringLiteral("33"));
        EXPECT_EQ(Edit(pDlg, "IDC_LEVEL")->text(), QStringLiteral("4"));
        EXPECT_EQ(Edit(pDlg, "IDC_FALLTIME")->text(), QStringLiteral("2000"));
        EXPECT_FALSE(Check(pDlg)->isChecked());
        QTest::keyClick(pDlg, Qt::Key_Escape);
    });
}

// Both ends of every range are allowed, and OK hands back every field and the check box;
// Return in an edit presses the default button.
TEST_F(OptionsDialog, AcceptsEveryBoundInclusive) {
    int nResult = Run([](QWidget* pDlg) {
        Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral("10"));
        Type(Edit(pDlg, "IDC_HEIGHT"), QStringLiteral("50"));
        Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("4"));
        Type(Edit(pDlg, "IDC_FALLTIME"), QStringLiteral("400"));
        QTest::mouseClick(Check(pDlg), Qt::LeftButton);
        QTest::mouseClick(Button(pDlg, "IDOK"), Qt::LeftButton);
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_nWidth, 10);
    EXPECT_EQ(dlg.m_nHeight, 50);
    EXPECT_EQ(dlg.m_nLevel, 4);
    EXPECT_EQ(dlg.m_nFallTime, 400);
    EXPECT_EQ(dlg.m_bSingleColour, FALSE);
    EXPECT_EQ(dlg.m_crColour, 0x0048BB79u);

    nResult = Run([](QWidget* pDlg) {
        Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral("50"));
        Type(Edit(pDlg, "IDC_HEIGHT"), QStringLiteral("10"));
        Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("1"));
        Type(Edit(pDlg, "IDC_FALLTIME"), QStringLiteral("2000"));
        QTest::mouseClick(Check(pDlg), Qt::LeftButton);
        QTest::keyClick(Edit(pDlg, "IDC_FALLTIME"), Qt::Key_Return);
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_nWidth, 50);
    EXPECT_EQ(dlg.m_nHeight, 10);
    EXPECT_EQ(dlg.m_nLevel, 1);
    EXPECT_EQ(dlg.m_nFallTime, 2000);
    EXPECT_EQ(dlg.m_bSingleColour, TRUE);

    // Blanks around a number and a plus sign are still a whole number.
    nResult = Run([](QWidget* pDlg) {
        Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral(" 21 "));
        Type(Edit(pDlg, "IDC_HEIGHT"), QStringLiteral("+22"));
        Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("03"));
        QTest::mouseClick(Button(pDlg, "IDOK"), Qt::LeftButton);
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_nWidth, 21);
    EXPECT_EQ(dlg.m_nHeight, 22);
    EXPECT_EQ(dlg.m_nLevel, 3);
}

// A number just outside its range is refused with its bounds named; the dialog stays open with
// everything typed and the refused edit focused and selected, and Cancel then hands back nothing.
TEST_F(OptionsDialog, RefusesEveryNumberJustOutOfRange) {
    struct CCase {
        const char* pszId;
        const char* pszValue;
        const char* pszMessage;
    };
    const CCase aCases[] = {
        {"IDC_WIDTH", "9", "Geef een geheel getal tussen 10 en 50."},
        {"IDC_WIDTH", "51", "Geef een geheel getal tussen 10 en 50."},
        {"IDC_HEIGHT", "9", "Geef een geheel getal tussen 10 en 50."},
        {"IDC_HEIGHT", "51", "Geef een geheel getal tussen 10 en 50."},
        {"IDC_LEVEL", "0", "Geef een geheel getal tussen 1 en 4."},
        {"IDC_LEVEL", "5", "Geef een geheel getal tussen 1 en 4."},
        {"IDC_FALLTIME", "399", "Geef een geheel getal tussen 400 en 2000."},
        {"IDC_FALLTIME", "2001", "Geef een geheel getal tussen 400 en 2000."},
        {"IDC_FALLTIME", "-1000", "Geef een geheel getal tussen 400 en 2000."},
        {"IDC_WIDTH", "99999999999", "Geef een geheel getal tussen 10 en 50."},
    };
    for (const CCase& c : aCases) {
        SCOPED_TRACE(std::string(c.pszId) + " = " + c.pszValue);
        const int nResult = Run([&c](QWidget* pDlg) {
            // The other fields are changed too, to see that nothing typed is lost.
            Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral("20"));
            Type(Edit(pDlg, "IDC_HEIGHT"), QStringLiteral("30"));
            Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("2"));
            Type(Edit(pDlg, "IDC_FALLTIME"), QStringLiteral("800"));
            QLineEdit* pEdit = Edit(pDlg, c.pszId);
            Type(pEdit, QString::fromLatin1(c.pszValue));

            const std::vector<QString> messages = PressOkExpectingRefusal(pDlg);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0], QString::fromUtf8(c.pszMessage));
            EXPECT_TRUE(pDlg->isVisible());
            EXPECT_TRUE(QTest::qWaitFor([&] { return pEdit->hasFocus(); }));
            EXPECT_EQ(pEdit->text(), QString::fromLatin1(c.pszValue));
            EXPECT_EQ(pEdit->selectedText(), pEdit->text());
            const std::pair<const char*, const char*> aTyped[] = {{"IDC_WIDTH", "20"},
                                                                  {"IDC_HEIGHT", "30"},
                                                                  {"IDC_LEVEL", "2"},
                                                                  {"IDC_FALLTIME", "800"}};
            for (const auto& [pszId, pszTyped] : aTyped) {
                if (pszId != std::string(c.pszId)) {
                    EXPECT_EQ(Edit(pDlg, pszId)->text(), QLatin1String(pszTyped));
                }
            }
            QTest::mouseClick(Button(pDlg, "IDCANCEL"), Qt::LeftButton);
        });
        EXPECT_EQ(nResult, IDCANCEL);
        ExpectMembersUnchanged();
    }
}

// Text that is not a whole number is refused as such, in any of the four edits.
TEST_F(OptionsDialog, RefusesTextThatIsNotAWholeNumber) {
    const std::pair<const char*, QString> aCases[] = {
        {"IDC_WIDTH", QString()},
        {"IDC_HEIGHT", QStringLiteral("abc")},
        {"IDC_LEVEL", QStringLiteral("2a")},
        {"IDC_FALLTIME", QStringLiteral("1000.5")},
        {"IDC_WIDTH", QStringLiteral("1 2")},
        {"IDC_HEIGHT", QStringLiteral("-")},
        {"IDC_LEVEL", QStringLiteral("٣")},  // an Arabic-Indic three
    };
    for (const auto& [pszId, value] : aCases) {
        SCOPED_TRACE(std::string(pszId) + " = " + value.toStdString());
        Run([pszId = pszId, value = value](QWidget* pDlg) {
            QLineEdit* pEdit = Edit(pDlg, pszId);
            Type(pEdit, value);
            const std::vector<QString> messages = PressOkExpectingRefusal(pDlg);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0], QStringLiteral("Geef een geheel getal."));
            EXPECT_TRUE(QTest::qWaitFor([&] { return pEdit->hasFocus(); }));
            EXPECT_EQ(pEdit->text(), value);
            EXPECT_EQ(pEdit->selectedText(), value);
            QTest::keyClick(pDlg, Qt::Key_Escape);
        });
        ExpectMembersUnchanged();
    }
}

// With several faults only the first in field order is reported; once it is mended the next one
// is, and then OK goes through.
TEST_F(OptionsDialog, ReportsOnlyTheFirstRefusedField) {
    const int nResult = Run([](QWidget* pDlg) {
        Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral("9"));
        Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("7"));
        Type(Edit(pDlg, "IDC_FALLTIME"), QStringLiteral("x"));

        std::vector<QString> messages = PressOkExpectingRefusal(pDlg);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], QStringLiteral("Geef een geheel getal tussen 10 en 50."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Edit(pDlg, "IDC_WIDTH")->hasFocus(); }));

        Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral("12"));
        messages = PressOkExpectingRefusal(pDlg);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], QStringLiteral("Geef een geheel getal tussen 1 en 4."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Edit(pDlg, "IDC_LEVEL")->hasFocus(); }));
        EXPECT_EQ(Edit(pDlg, "IDC_LEVEL")->selectedText(), QStringLiteral("7"));

        Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("3"));
        messages = PressOkExpectingRefusal(pDlg);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], QStringLiteral("Geef een geheel getal."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Edit(pDlg, "IDC_FALLTIME")->hasFocus(); }));

        Type(Edit(pDlg, "IDC_FALLTIME"), QStringLiteral("1500"));
        QTest::mouseClick(Button(pDlg, "IDOK"), Qt::LeftButton);
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_nWidth, 12);
    EXPECT_EQ(dlg.m_nHeight, 15);
    EXPECT_EQ(dlg.m_nLevel, 3);
    EXPECT_EQ(dlg.m_nFallTime, 1500);
}

// Cancel, Esc and the close box end the dialog without a check and hand back nothing, also
// after a refused OK.
TEST_F(OptionsDialog, CancelEscAndCloseHandBackNothing) {
    const std::vector<std::function<void(QWidget*)>> aEnds = {
        [](QWidget* pDlg) { QTest::mouseClick(Button(pDlg, "IDCANCEL"), Qt::LeftButton); },
        [](QWidget* pDlg) { QTest::keyClick(Edit(pDlg, "IDC_HEIGHT"), Qt::Key_Escape); },
        [](QWidget* pDlg) { pDlg->close(); },
    };
    for (std::size_t i = 0; i < aEnds.size(); ++i) {
        SCOPED_TRACE(i);
        for (bool bRefusedFirst : {false, true}) {
            const int nResult = Run([&](QWidget* pDlg) {
                Type(Edit(pDlg, "IDC_WIDTH"), QStringLiteral("44"));
                Type(Edit(pDlg, "IDC_HEIGHT"), QStringLiteral("abc"));
                Type(Edit(pDlg, "IDC_LEVEL"), QStringLiteral("3"));
                Type(Edit(pDlg, "IDC_FALLTIME"), QStringLiteral("700"));
                QTest::mouseClick(Check(pDlg), Qt::LeftButton);
                if (bRefusedFirst) {
                    EXPECT_EQ(PressOkExpectingRefusal(pDlg).size(), 1u);
                }
                aEnds[i](pDlg);
            });
            EXPECT_EQ(nResult, IDCANCEL);
            ExpectMembersUnchanged();
        }
    }
}

// "Geef kleur" opens Qt's own chooser at the current colour; a colour accepted there becomes the
// dialog's colour with red in the low byte, a cancelled one does not, and neither touches the
// other controls. Cancelling the Options dialog afterwards hands no colour back.
TEST_F(OptionsDialog, ColourChooserStartsAtCurrentColourAndCancelKeepsIt) {
    const int nResult = Run([this](QWidget* pDlg) {
        const CModalScript accepting([](QWidget* pModal) {
            auto* pChooser = qobject_cast<QColorDialog*>(pModal);
            ASSERT_NE(pChooser, nullptr);
            EXPECT_TRUE(pChooser->testOption(QColorDialog::DontUseNativeDialog));
            EXPECT_FALSE(pChooser->testOption(QColorDialog::ShowAlphaChannel));
            EXPECT_EQ(pChooser->currentColor(), QColor(0x79, 0xBB, 0x48));
            pChooser->setCurrentColor(QColor(0x12, 0x34, 0x56));
            pChooser->accept();
        });
        QTest::mouseClick(Button(pDlg, "IDC_PICKCOLOUR"), Qt::LeftButton);
        EXPECT_EQ(dlg.m_crColour, 0x00563412u);
        EXPECT_TRUE(Check(pDlg)->isChecked());
        EXPECT_EQ(Edit(pDlg, "IDC_WIDTH")->text(), QStringLiteral("10"));

        const CModalScript cancelling([](QWidget* pModal) {
            auto* pChooser = qobject_cast<QColorDialog*>(pModal);
            ASSERT_NE(pChooser, nullptr);
            EXPECT_EQ(pChooser->currentColor(), QColor(0x12, 0x34, 0x56));
            pChooser->setCurrentColor(QColor(0xFF, 0xFF, 0xFF));
            QTest::keyClick(pChooser, Qt::Key_Escape);
        });
        QTest::mouseClick(Button(pDlg, "IDC_PICKCOLOUR"), Qt::LeftButton);
        EXPECT_EQ(dlg.m_crColour, 0x00563412u);
        EXPECT_TRUE(pDlg->isVisible());

        QTest::mouseClick(Button(pDlg, "IDCANCEL"), Qt::LeftButton);
    });
    EXPECT_EQ(nResult, IDCANCEL);
    ExpectMembersUnchanged();

    // Accepted with the check box cleared, the colour is kept for later.
    const int nAccepted = Run([](QWidget* pDlg) {
        QTest::mouseClick(Check(pDlg), Qt::LeftButton);
        const CModalScript chooser([](QWidget* pModal) {
            auto* pChooser = qobject_cast<QColorDialog*>(pModal);
            ASSERT_NE(pChooser, nullptr);
            pChooser->setCurrentColor(QColor(0xA0, 0x00, 0x0B));
            pChooser->accept();
        });
        QTest::mouseClick(Button(pDlg, "IDC_PICKCOLOUR"), Qt::LeftButton);
        EXPECT_FALSE(Check(pDlg)->isChecked());
        QTest::mouseClick(Button(pDlg, "IDOK"), Qt::LeftButton);
    });
    EXPECT_EQ(nAccepted, IDOK);
    EXPECT_EQ(dlg.m_crColour, 0x000B00A0u);
    EXPECT_EQ(dlg.m_bSingleColour, FALSE);
}

// Tab walks the four edits, the check box, the colour button, OK and Cancel, and wraps around.
TEST_F(OptionsDialog, TabOrderRunsFromTheEditsToCancel) {
    Run([](QWidget* pDlg) {
        const std::vector<QWidget*> order = {Edit(pDlg, "IDC_WIDTH"),
                                             Edit(pDlg, "IDC_HEIGHT"),
                                             Edit(pDlg, "IDC_LEVEL"),
                                             Edit(pDlg, "IDC_FALLTIME"),
                                             Check(pDlg),
                                             Button(pDlg, "IDC_PICKCOLOUR"),
                                             Button(pDlg, "IDOK"),
                                             Button(pDlg, "IDCANCEL"),
                                             Edit(pDlg, "IDC_WIDTH")};
        EXPECT_TRUE(QTest::qWaitFor([&] { return order[0]->hasFocus(); }));
        for (std::size_t i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), order[i]) << "step " << i;
        }
        // Tabbing into an edit selects its text, ready to be overtyped.
        EXPECT_EQ(Edit(pDlg, "IDC_WIDTH")->selectedText(), QStringLiteral("10"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), Button(pDlg, "IDCANCEL"));
        QTest::keyClick(pDlg, Qt::Key_Escape);
    });
}

// Every control sits where its dialog units put it in the dialog's font, no text is cut off, and
// the dialog has its fixed size.
TEST_F(OptionsDialog, ControlsArePlacedInDialogUnits) {
    QWidget* pDlg = &dlg;
    EXPECT_EQ(QRect(QPoint(0, 0), dlg.size()), DluRect(pDlg, 0, 0, 147, 107));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(Edit(pDlg, "IDC_WIDTH")->geometry(), DluRect(pDlg, 39, 7, 27, 12));
    EXPECT_EQ(Edit(pDlg, "IDC_HEIGHT")->geometry(), DluRect(pDlg, 39, 25, 27, 12));
    EXPECT_EQ(Edit(pDlg, "IDC_LEVEL")->geometry(), DluRect(pDlg, 39, 43, 27, 12));
    EXPECT_EQ(Edit(pDlg, "IDC_FALLTIME")->geometry(), DluRect(pDlg, 40, 62, 27, 12));
    ExpectPlacedWhole(pDlg, Check(pDlg), DluRect(pDlg, 7, 85, 43, 9));
    EXPECT_EQ(Check(pDlg)->text(), QStringLiteral("Eén kleur"));
    EXPECT_EQ(Button(pDlg, "IDC_PICKCOLOUR")->geometry(), DluRect(pDlg, 90, 86, 50, 14));
    EXPECT_EQ(Button(pDlg, "IDC_PICKCOLOUR")->text(), QStringLiteral("Geef kleur"));
    EXPECT_EQ(Button(pDlg, "IDOK")->geometry(), DluRect(pDlg, 90, 7, 50, 14));
    EXPECT_EQ(Button(pDlg, "IDOK")->text(), QStringLiteral("OK"));
    EXPECT_EQ(Button(pDlg, "IDCANCEL")->geometry(), DluRect(pDlg, 90, 27, 50, 14));
    EXPECT_EQ(Button(pDlg, "IDCANCEL")->text(), QStringLiteral("Cancel"));

    const struct {
        QString text;
        QRect rect;
    } aStatics[] = {
        {QStringLiteral("Breedte: "), DluRect(pDlg, 7, 8, 28, 11)},
        {QStringLiteral("Hoogte:"), DluRect(pDlg, 7, 26, 27, 11)},
        {QStringLiteral("Niveau:"), DluRect(pDlg, 7, 44, 28, 11)},
        {QStringLiteral("Valtijd:"), DluRect(pDlg, 8, 63, 25, 11)},
        {QStringLiteral("milliseconden"), DluRect(pDlg, 73, 63, 43, 10)},
        {QStringLiteral("1 t/m 4"), DluRect(pDlg, 73, 45, 54, 10)},
    };
    const QList<QLabel*> labels = dlg.findChildren<QLabel*>();
    ASSERT_EQ(static_cast<std::size_t>(labels.size()), std::size(aStatics));
    for (std::size_t i = 0; i < std::size(aStatics); ++i) {
        EXPECT_EQ(labels[static_cast<qsizetype>(i)]->text(), aStatics[i].text);
        SCOPED_TRACE(aStatics[i].text.toStdString());
        ExpectPlacedWhole(pDlg, labels[static_cast<qsizetype>(i)], aStatics[i].rect);
        EXPECT_EQ(labels[static_cast<qsizetype>(i)]->focusPolicy(), Qt::NoFocus);
    }
}

// The About box shows every text exactly, line breaks included, each in its place, with the
// application's icon; OK closes it.
TEST(AboutBox, ShowsEveryTextExactlyInItsPlace) {
    const QIcon oldIcon = QApplication::windowIcon();
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(pixmap));

    CAboutDlg dlg;
    QWidget* pDlg = &dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Over Zorvik"));
    EXPECT_EQ(QRect(QPoint(0, 0), dlg.size()), DluRect(pDlg, 0, 0, 177, 287));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());

    const struct {
        QString text;
        QRect rect;
    } aStatics[] = {
        {QStringLiteral("Zorvik Versie 1.0b"), DluRect(pDlg, 40, 10, 63, 8)},
        {QStringLiteral("Pijl links: Naar links\nPijl rechts: Naar rechts\nPijl op: Draai naar "
                        "rechts\nPijl neer: Naar beneden"),
         DluRect(pDlg, 18, 56, 89, 33)},
        {QStringLiteral("End: Spiegelen langs verticale as\nSpatie: Laat vallen\nPause: "
                        "Pauzeer\nEsc: Stop spel"),
         DluRect(pDlg, 18, 94, 119, 33)},
        {QStringLiteral("Niveau 1: Tetromino's\nNiveau 2: Pentomino's\nNiveau 3: Beide\nNiveau "
                        "4: Halfom"),
         DluRect(pDlg, 9, 132, 91, 37)},
        {QStringLiteral("Besturing:"), DluRect(pDlg, 7, 44, 52, 11)},
        {QStringLiteral("Score"), DluRect(pDlg, 7, 169, 22, 11)},
        {QString::fromUtf8("Per polyomino \xC3\xA9\xC3\xA9n of twee punten, per volle rij 10 "
                           "punten.\n Bij twee volle rijen tegelijkertijd 30, bij drie 60, bij "
                           "vier 100 enz. Een helemaal leeggespeeld veld: 1000."),
         DluRect(pDlg, 18, 180, 133, 43)},
        {QStringLiteral("Zaktijd"), DluRect(pDlg, 7, 225, 28, 10)},
        {QStringLiteral("Bij het verdwijnen van elke volle rij wordt de zaktijd verminderd met 5 "
                        "milliseconden, de zaktijd wordt echter nooit minder dan 150 ms."),
         DluRect(pDlg, 18, 236, 126, 34)},
    };
    const QList<QLabel*> labels = dlg.findChildren<QLabel*>();
    ASSERT_EQ(static_cast<std::size_t>(labels.size()), std::size(aStatics) + 1);
    // First the icon, in its place at its own size.
    EXPECT_EQ(labels[0]->geometry().topLeft(), DluRect(pDlg, 11, 17, 0, 0).topLeft());
    EXPECT_EQ(labels[0]->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
    EXPECT_EQ(labels[0]->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
    for (std::size_t i = 0; i < std::size(aStatics); ++i) {
        const QLabel* pLabel = labels[static_cast<qsizetype>(i) + 1];
        EXPECT_EQ(pLabel->text(), aStatics[i].text);
        EXPECT_TRUE(pLabel->wordWrap());
        SCOPED_TRACE(aStatics[i].text.toStdString());
        ExpectPlacedWhole(pDlg, pLabel, aStatics[i].rect);
        EXPECT_EQ(pLabel->textFormat(), Qt::PlainText);
    }
    EXPECT_EQ(Button(pDlg, "IDOK")->geometry(), DluRect(pDlg, 120, 7, 50, 14));
    EXPECT_TRUE(Button(pDlg, "IDOK")->isDefault());

    const CModalScript onReturn([](QWidget* pModal) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Button(pModal, "IDOK")->hasFocus(); }));
        QTest::keyClick(pModal, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    QApplication::setWindowIcon(oldIcon);
}

// Without an application icon the box shows an empty icon place, and Esc closes it.
TEST(AboutBox, OpensWithoutAnIconAndClosesWithEsc) {
    const QIcon oldIcon = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());
    CAboutDlg dlg;
    ASSERT_FALSE(dlg.findChildren<QLabel*>().isEmpty());
    EXPECT_TRUE(dlg.findChildren<QLabel*>()[0]->pixmap().isNull());
    const CModalScript onEscape([](QWidget* pModal) { QTest::keyClick(pModal, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    QApplication::setWindowIcon(oldIcon);
}
