// The Options command against the recording fake: what the dialog is shown and what OK and
// Cancel leave behind in the document and the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fakes/fakeplatform.h"

namespace {

// Fills a few cells the way a finished game leaves them.
void LeaveDebris(CZorvikDoc& doc) {
    for (int x = 0; x < doc.m_field.m_nWidth; x += 2) {
        doc.m_field.SetCell(x, doc.m_field.m_nHeight - 1, 0x00FF00FF);
    }
    doc.m_field.SetCell(3, 4, 0x0000FFFF);
}

bool FieldIsEmpty(const CZorvikDoc& doc) {
    for (int y = 0; y < doc.m_field.m_nHeight; ++y) {
        for (int x = 0; x < doc.m_field.m_nWidth; ++x) {
            if (doc.m_field.GetCell(x, y) != 0) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

// The dialog opens with the settings in force, not the defaults or a stale copy.
TEST(OptionsCommand, DialogIsShownTheCurrentSettings) {
    CHeadlessGame game;
    game.view.OnGameOptions();
    ASSERT_EQ(game.wnd.m_optionsShown.size(), 1u);
    const COptionsValues& shown = game.wnd.m_optionsShown[0];
    EXPECT_EQ(shown.m_nWidth, 10);
    EXPECT_EQ(shown.m_nHeight, 15);
    EXPECT_EQ(shown.m_nLevel, 1);
    EXPECT_EQ(shown.m_nFallTime, 1000);
    EXPECT_EQ(shown.m_bSingleColour, TRUE);
    EXPECT_EQ(shown.m_crColour, 0x0048BB79u);

    game.doc.SetFieldSize(23, 41);
    game.doc.m_nLevel = 3;
    game.doc.m_bSingleColour = FALSE;
    game.doc.m_crSingle = 0x00102030;
    game.view.m_nFallTime = 650;
    game.view.OnGameOptions();
    ASSERT_EQ(game.wnd.m_optionsShown.size(), 2u);
    const COptionsValues& now = game.wnd.m_optionsShown[1];
    EXPECT_EQ(now.m_nWidth, 23);
    EXPECT_EQ(now.m_nHeight, 41);
    EXPECT_EQ(now.m_nLevel, 3);
    EXPECT_EQ(now.m_nFallTime, 650);
    EXPECT_EQ(now.m_bSingleColour, FALSE);
    EXPECT_EQ(now.m_crColour, 0x00102030u);
}

// OK stores every value where the game reads it: width and height not swapped, the fall time in
// the view, a colour chosen with single-colour mode off kept for later.
TEST(OptionsCommand, AcceptedValuesReachDocumentAndView) {
    CHeadlessGame game;
    LeaveDebris(game.doc);
    game.wnd.m_fnOptionsDialog = [](COptionsValues& values) {
        values.m_nWidth = 25;
        values.m_nHeight = 40;
        values.m_nLevel = 4;
        values.m_nFallTime = 1750;
        values.m_crColour = 0x00ABCDEF;
        values.m_bSingleColour = FALSE;
        return IDOK;
    };
    game.view.OnGameOptions();

    EXPECT_EQ(game.doc.m_field.m_nWidth, 25);
    EXPECT_EQ(game.doc.m_field.m_nHeight, 40);
    EXPECT_TRUE(FieldIsEmpty(game.doc));
    EXPECT_EQ(game.doc.m_nLevel, 4);
    EXPECT_EQ(game.view.m_nFallTime, 1750);
    EXPECT_EQ(game.doc.m_crSingle, 0x00ABCDEFu);
    EXPECT_EQ(game.doc.m_bSingleColour, FALSE);
    // The repaint comes after the dialog has closed and everything is stored, and only once.
    EXPECT_EQ(game.wnd.m_nInvalidations, 1);
    ASSERT_FALSE(game.wnd.m_events.empty());
    EXPECT_EQ(game.wnd.m_events.back(), "Invalidate");
    EXPECT_EQ(game.wnd.m_events.front(), "Options");
    // The view starts no game and touches no timer.
    EXPECT_FALSE(game.view.m_bRunning);
    EXPECT_TRUE(game.wnd.m_timerCalls.empty());
}

// OK with nothing changed still clears the pieces the last game left and redraws the view.
TEST(OptionsCommand, OkWithUnchangedValuesEmptiesTheField) {
    CHeadlessGame game;
    LeaveDebris(game.doc);
    ASSERT_FALSE(FieldIsEmpty(game.doc));
    game.wnd.m_fnOptionsDialog = [](COptionsValues&) { return IDOK; };
    game.view.OnGameOptions();

    EXPECT_EQ(game.doc.m_field.m_nWidth, 10);
    EXPECT_EQ(game.doc.m_field.m_nHeight, 15);
    EXPECT_TRUE(FieldIsEmpty(game.doc));
    EXPECT_EQ(game.doc.m_nLevel, 1);
    EXPECT_EQ(game.view.m_nFallTime, 1000);
    EXPECT_EQ(game.doc.m_crSingle, 0x0048BB79u);
    EXPECT_EQ(game.doc.m_bSingleColour, TRUE);
    EXPECT_EQ(game.wnd.m_nInvalidations, 1);
}

// Cancel, or any result other than OK, leaves every setting, the field and the screen alone,
// even a colour the player chose inside the dialog.
TEST(OptionsCommand, CancelChangesNothing) {
    for (int nResult : {IDCANCEL, 0}) {
        CHeadlessGame game;
        LeaveDebris(game.doc);
        game.wnd.m_fnOptionsDialog = [nResult](COptionsValues& values) {
            values.m_nWidth = 30;
            values.m_nHeight = 30;
            values.m_nLevel = 2;
            values.m_nFallTime = 500;
            values.m_crColour = 0x00FFFFFF;
            values.m_bSingleColour = FALSE;
            return nResult;
        };
        game.view.OnGameOptions();

        EXPECT_EQ(game.doc.m_field.m_nWidth, 10) << nResult;
        EXPECT_EQ(game.doc.m_field.m_nHeight, 15) << nResult;
        EXPECT_EQ(game.doc.m_field.GetCell(3, 4), 0x0000FFFFu) << nResult;
        EXPECT_EQ(game.doc.m_nLevel, 1) << nResult;
        EXPECT_EQ(game.view.m_nFallTime, 1000) << nResult;
        EXPECT_EQ(game.doc.m_crSingle, 0x0048BB79u) << nResult;
        EXPECT_EQ(game.doc.m_bSingleColour, TRUE) << nResult;
        EXPECT_EQ(game.wnd.m_nInvalidations, 0) << nResult;
    }
}
