// What a screen reader finds: every control it can act on has a name.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "app/aboutdlg.h"
#include "app/optionsdlg.h"
#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

using CAccessibilityTest = CGuiTest;

// Roles a player acts on, whatever their focus policy.
bool IsInteractiveRole(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::MenuItem:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::PageTab:
        case QAccessible::Link:
            return true;
        default:
            return false;
    }
}

// Walks the accessible tree under pRoot and returns a line for every visible element that a
// player can act on or give the keyboard to but that has no name.
std::vector<std::string> UnnamedControls(QWidget* pRoot, int* pnControls) {
    std::vector<std::string> unnamed;
    std::vector<QAccessibleInterface*> pending = {QAccessible::queryAccessibleInterface(pRoot)};
    while (!pending.empty()) {
        QAccessibleInterface* pIface = pending.back();
        pending.pop_back();
        if (pIface == nullptr || !pIface->isValid()) {
            continue;
        }
        const QAccessible::State state = pIface->state();
        if (state.invisible) {
            continue;
        }
        if (IsInteractiveRole(pIface->role()) || state.focusable) {
            ++*pnControls;
            if (pIface->text(QAccessible::Name).trimmed().isEmpty()) {
                const QObject* pObject = pIface->object();
                unnamed.push_back(std::string(pObject != nullptr
                                                  ? pObject->metaObject()->className()
                                                  : "(no object)") +
                                  " role " + std::to_string(pIface->role()));
            }
        }
        for (int i = 0; i < pIface->childCount(); ++i) {
            pending.push_back(pIface->child(i));
        }
    }
    return unnamed;
}

QString NameOf(QObject* pObject) {
    QAccessibleInterface* pIface = QAccessible::queryAccessibleInterface(pObject);
    return pIface != nullptr ? pIface->text(QAccessible::Name) : QString();
}

QString DescriptionOf(QObject* pObject) {
    QAccessibleInterface* pIface = QAccessible::queryAccessibleInterface(pObject);
    return pIface != nullptr ? pIface->text(QAccessible::Description) : QString();
}

TEST_F(CAccessibilityTest, MainWindowNamesItsFieldMenusButtonsAndLockPanes) {
    int nControls = 0;
    EXPECT_EQ(UnnamedControls(&Frame(), &nControls), std::vector<std::string>{});
    EXPECT_GE(nControls, 8) << "the menus, the buttons and the field";

    // The field: named by the caption, described by the view's last status text.
    EXPECT_EQ(NameOf(&ViewWidget()), QStringLiteral("Zorvik niveau 1, 10x15"));
    EXPECT_EQ(DescriptionOf(&ViewWidget()), QStringLiteral("Klaar"));
    Game().m_nFallTime = 100000;
    Frame().OnCommand(ID_GAME_START);
    QTest::keyClick(&ViewWidget(), Qt::Key_Pause);
    Settle();
    EXPECT_EQ(DescriptionOf(&ViewWidget()),
              QStringLiteral("Er wordt gepauzeerd, toets <Pause> om door te gaan."));
    QTest::keyClick(&ViewWidget(), Qt::Key_Pause);
    EXPECT_EQ(DescriptionOf(&ViewWidget()), QStringLiteral("Spel is hervat"));

    const char* const aKeys[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (std::size_t i = 0; i < Frame().m_aIndicators.size(); ++i) {
        EXPECT_EQ(NameOf(Frame().m_aIndicators[i]), QLatin1String(aKeys[i]));
    }

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

TEST_F(CAccessibilityTest, OptionsEditsAreNamedByTheirLabels) {
    std::vector<std::string> unnamed = {"not opened"};
    int nControls = 0;
    std::vector<QString> names;
    std::vector<QString> descriptions;
    OnNextModal([&](QWidget* pModal) {
        unnamed = UnnamedControls(pModal, &nControls);
        for (const char* pszId : {"IDC_WIDTH", "IDC_HEIGHT", "IDC_LEVEL", "IDC_FALLTIME"}) {
            auto* pEdit = pModal->findChild<QLineEdit*>(QLatin1String(pszId));
            names.push_back(NameOf(pEdit).trimmed());
            descriptions.push_back(DescriptionOf(pEdit));
        }
        // The labels carry no mnemonic.
        for (const QLabel* pLabel : pModal->findChildren<QLabel*>()) {
            EXPECT_FALSE(pLabel->text().contains(u'&')) << pLabel->text().toStdString();
        }
        pModal->close();
    });
    Frame().OnCommand(ID_GAME_OPTIONS);
    EXPECT_EQ(unnamed, std::vector<std::string>{});
    EXPECT_EQ(nControls, 8) << "four edits, the check box and three buttons";
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("Breedte:"), QStringLiteral("Hoogte:"),
                                           QStringLiteral("Niveau:"), QStringLiteral("Valtijd:")}));
    EXPECT_EQ(descriptions[2], QStringLiteral("1 t/m 4"));
    EXPECT_EQ(descriptions[3], QStringLiteral("milliseconden"));
}

TEST_F(CAccessibilityTest, AboutBoxHasNoUnnamedControl) {
    std::vector<std::string> unnamed = {"not opened"};
    int nControls = 0;
    OnNextModal([&](QWidget* pModal) {
        unnamed = UnnamedControls(pModal, &nControls);
        pModal->close();
    });
    Frame().OnCommand(ID_APP_ABOUT);
    EXPECT_EQ(unnamed, std::vector<std::string>{});
    EXPECT_GE(nControls, 1) << "the OK button";
}

}  // namespace
