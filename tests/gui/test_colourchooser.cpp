// The colour chooser of the Options dialog as the player meets it, on whatever platform and
// platform theme the suite runs under: offscreen, and on an X server with and without the GTK
// theme of a GNOME desktop (see CMakeLists.txt).
#include <unistd.h>
#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "app/optionsdlg.h"
#include "app/zorvikapp.h"
#include "game/resource.h"
#include "gui/guifixture.h"
#include "guimain/modalscript.h"

namespace {

// Under a bare X server no window becomes active: the chooser's scripts wait only for it to show.
constexpr EModalReady kOnScreen = EModalReady::kExposed;

using CColourChooserTest = CGuiTest;

QPushButton* DialogButton(QWidget* pDlg, const char* pszId) {
    return pDlg->findChild<QPushButton*>(QLatin1String(pszId));
}

QAbstractButton* ChooserButton(QColorDialog* pChooser, QDialogButtonBox::StandardButton which) {
    auto* pBox = pChooser->findChild<QDialogButtonBox*>();
    return pBox != nullptr ? pBox->button(which) : nullptr;
}

// The chooser's HTML field, which shows the colour as #rrggbb: its one edit that is not part of
// a spin box.
QLineEdit* HtmlField(QColorDialog* pChooser) {
    for (QLineEdit* pEdit : pChooser->findChildren<QLineEdit*>()) {
        if (qobject_cast<QSpinBox*>(pEdit->parentWidget()) == nullptr) {
            return pEdit;
        }
    }
    return nullptr;
}

// Opens the Options dialog, presses "Geef kleur" and runs fnChooser on the chooser, which must
// close it; then closes the Options dialog with OK.
void PickColour(CMainFrame& frame, std::function<void(QColorDialog*)> fnChooser) {
    const CModalScript options(kOnScreen, [fnChooser = std::move(fnChooser)](QWidget* pOptions) {
        const CModalScript chooser(kOnScreen, [&fnChooser](QWidget* pModal) {
            auto* pChooser = qobject_cast<QColorDialog*>(pModal);
            ASSERT_NE(pChooser, nullptr);
            fnChooser(pChooser);
        });
        QTest::mouseClick(DialogButton(pOptions, "IDC_PICKCOLOUR"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == pOptions; }, 1000))
            << "the keyboard is back in the Options dialog";
        QTest::mouseClick(DialogButton(pOptions, "IDOK"), Qt::LeftButton);
    });
    frame.OnCommand(ID_GAME_OPTIONS);
}

// Under the theme the suite was asked to run with, that theme is really in the process: else
// the tests below would prove nothing about it.
TEST_F(CColourChooserTest, AskedPlatformThemeIsLoaded) {
    const char* pszTheme = std::getenv("QT_QPA_PLATFORMTHEME");
    if (pszTheme == nullptr || std::string(pszTheme) != "gtk3") {
        GTEST_SKIP() << "no GTK theme asked for";
    }
    std::ifstream maps("/proc/self/maps");
    std::ostringstream text;
    text << maps.rdbuf();
    EXPECT_NE(text.str().find("libqgtk3"), std::string::npos)
        << "the gtk3 platform theme did not load (qt6-gtk-platformtheme missing?)";
}

// The chooser opens on the current colour, in its HTML field too; OK without a change keeps the
// colour, and a colour typed there is the one the pieces get.
TEST_F(CColourChooserTest, OpensOnTheCurrentColourAndOkKeepsIt) {
    Doc().m_crSingle = RGB(0x79, 0xBB, 0x48);
    QColor shown;
    QString html;
    PickColour(Frame(), [&](QColorDialog* pChooser) {
        shown = pChooser->currentColor();
        QLineEdit* pHtml = HtmlField(pChooser);
        html = pHtml != nullptr ? pHtml->text() : QStringLiteral("(none)");
        QTest::mouseClick(ChooserButton(pChooser, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    EXPECT_EQ(shown.name(), QStringLiteral("#79bb48"));
    EXPECT_EQ(html, QStringLiteral("#79bb48"));
    EXPECT_EQ(Doc().m_crSingle, RGB(0x79, 0xBB, 0x48)) << "OK on the shown colour keeps it";

    PickColour(Frame(), [](QColorDialog* pChooser) {
        QLineEdit* pHtml = HtmlField(pChooser);
        ASSERT_NE(pHtml, nullptr);
        pHtml->selectAll();
        QTest::keyClicks(pHtml, QStringLiteral("#123456"));
        QTest::mouseClick(ChooserButton(pChooser, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    EXPECT_EQ(Doc().m_crSingle, RGB(0x12, 0x34, 0x56));

    // And the next time it opens on that one.
    PickColour(Frame(), [&](QColorDialog* pChooser) {
        shown = pChooser->currentColor();
        QTest::mouseClick(ChooserButton(pChooser, QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    EXPECT_EQ(shown.name(), QStringLiteral("#123456"));
    EXPECT_EQ(Doc().m_crSingle, RGB(0x12, 0x34, 0x56));
}

// Qt's own texts are Dutch: no English is left in the chooser. The program's own texts stay as
// they are: the Options dialog's "Cancel" and the message boxes' "OK".
TEST_F(CColourChooserTest, ChooserSpeaksDutchAndOurOwnTextsStay) {
    // The chooser's English texts, mnemonics left out. "OK" is Dutch as well.
    const QStringList english = {
        QStringLiteral("Select Color"),
        QStringLiteral("Basic colors"),
        QStringLiteral("Custom colors"),
        QStringLiteral("Add to Custom Colors"),
        QStringLiteral("Pick Screen Color"),
        QStringLiteral("Hue:"),
        QStringLiteral("Sat:"),
        QStringLiteral("Val:"),
        QStringLiteral("Red:"),
        QStringLiteral("Green:"),
        QStringLiteral("Blue:"),
        QStringLiteral("Alpha channel:"),
        QStringLiteral("Cancel"),
    };
    QStringList texts;
    QString ownCancel;
    const CModalScript options(kOnScreen, [&](QWidget* pOptions) {
        ownCancel = DialogButton(pOptions, "IDCANCEL")->text();
        const CModalScript chooser(kOnScreen, [&](QWidget* pModal) {
            auto* pChooser = qobject_cast<QColorDialog*>(pModal);
            ASSERT_NE(pChooser, nullptr);
            texts.push_back(pChooser->windowTitle());
            for (const QLabel* pLabel : pChooser->findChildren<QLabel*>()) {
                if (pLabel->isVisible()) {
                    texts.push_back(pLabel->text());
                }
            }
            for (const QAbstractButton* pButton : pChooser->findChildren<QAbstractButton*>()) {
                if (pButton->isVisible()) {
                    texts.push_back(pButton->text());
                }
            }
            pChooser->reject();
        });
        QTest::mouseClick(DialogButton(pOptions, "IDC_PICKCOLOUR"), Qt::LeftButton);
        QTest::mouseClick(DialogButton(pOptions, "IDCANCEL"), Qt::LeftButton);
    });
    Frame().OnCommand(ID_GAME_OPTIONS);

    EXPECT_GE(texts.size(), 10) << "the chooser showed its texts";
    for (QString text : texts) {
        text.remove(u'&');
        EXPECT_FALSE(english.contains(text.trimmed())) << "English: " << text.toStdString();
    }
    EXPECT_EQ(ownCancel, QStringLiteral("Cancel"));

    QString ok;
    OnNextModal([&](QWidget* pModal) {
        auto* pBox = qobject_cast<QMessageBox*>(pModal);
        if (pBox != nullptr && pBox->button(QMessageBox::Ok) != nullptr) {
            ok = pBox->button(QMessageBox::Ok)->text().remove(u'&');
        }
        pModal->close();
    });
    Frame().OnCommand(ID_GAME_SHOWSCORE);
    EXPECT_EQ(ok, QStringLiteral("OK"));
}

// Without Debian's translations, or with a damaged one, Qt's texts simply stay English.
TEST(FrameworkTranslation, MissingOrDamagedCatalogueLoadsNothing) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("zorvik-translation-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    QTranslator translator;
    EXPECT_FALSE(LoadFrameworkTranslation(translator, QString::fromStdString(dir.string())));
    std::ofstream(dir / "qtbase_nl.qm") << "not a catalogue";
    EXPECT_FALSE(LoadFrameworkTranslation(translator, QString::fromStdString(dir.string())));
    EXPECT_TRUE(translator.isEmpty());
    std::filesystem::remove_all(dir);

    // Debian's own (qt6-translations-l10n) is there.
    EXPECT_TRUE(
        LoadFrameworkTranslation(translator, QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    EXPECT_EQ(translator.translate("QColorDialog", "Select Color").isEmpty(), false);
}

}  // namespace
