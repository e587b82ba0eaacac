#include "qt/keymap.h"

#include <array>

#include "game/keycodes.h"

namespace {

enum class EPad { kAny, kMain, kKeypad };

struct CKeyEntry {
    int nQtKey;
    EPad pad;
    UINT nVirtKey;
    UINT nScanCode;
    bool bExtended;
};

// Windows virtual-key codes that wintypes.h does not name.
constexpr UINT kVkBack = 8, kVkTab = 9, kVkClear = 12, kVkReturn = 13, kVkShift = 16,
               kVkControl = 17, kVkMenu = 18, kVkCapital = 20, kVkPrior = 33, kVkNext = 34,
               kVkHome = 36, kVkSnapshot = 44, kVkInsert = 45, kVkDelete = 46, kVkLWin = 91,
               kVkRWin = 92, kVkApps = 93, kVkNumpad0 = 96, kVkMultiply = 106, kVkAdd = 107,
               kVkSubtract = 109, kVkDecimal = 110, kVkDivide = 111, kVkNumLock = 144,
               kVkScroll = 145, kVkCancel = 3;
constexpr UINT kVkOem1 = 186, kVkOemPlus = 187, kVkOemComma = 188, kVkOemMinus = 189,
               kVkOemPeriod = 190, kVkOem2 = 191, kVkOem3 = 192, kVkOem4 = 219, kVkOem5 = 220,
               kVkOem6 = 221, kVkOem7 = 222;

// Keys whose symbol does not depend on the layout's letters and digits. Shifted symbols of a US
// keyboard map to the key that carries them.
constexpr std::array kTable = {
    // The game's keys.
    CKeyEntry{Qt::Key_Pause, EPad::kAny, VK_PAUSE, kScanPause, false},
    CKeyEntry{Qt::Key_Escape, EPad::kAny, VK_ESCAPE, kScanEscape, false},
    CKeyEntry{Qt::Key_Space, EPad::kAny, VK_SPACE, kScanSpace, false},
    CKeyEntry{Qt::Key_End, EPad::kMain, VK_END, kScanEnd, true},
    CKeyEntry{Qt::Key_End, EPad::kKeypad, VK_END, kScanEnd, false},
    CKeyEntry{Qt::Key_Left, EPad::kMain, VK_LEFT, kScanLeft, true},
    CKeyEntry{Qt::Key_Left, EPad::kKeypad, VK_LEFT, kScanLeft, false},
    CKeyEntry{Qt::Key_Up, EPad::kMain, VK_UP, kScanUp, true},
    CKeyEntry{Qt::Key_Up, EPad::kKeypad, VK_UP, kScanUp, false},
    CKeyEntry{Qt::Key_Right, EPad::kMain, VK_RIGHT, kScanRight, true},
    CKeyEntry{Qt::Key_Right, EPad::kKeypad, VK_RIGHT, kScanRight, false},
    CKeyEntry{Qt::Key_Down, EPad::kMain, VK_DOWN, kScanDown, true},
    CKeyEntry{Qt::Key_Down, EPad::kKeypad, VK_DOWN, kScanDown, false},
    // The rest of the cursor block and the keypad with Num Lock off.
    CKeyEntry{Qt::Key_Home, EPad::kMain, kVkHome, 71, true},
    CKeyEntry{Qt::Key_Home, EPad::kKeypad, kVkHome, 71, false},
    CKeyEntry{Qt::Key_PageUp, EPad::kMain, kVkPrior, 73, true},
    CKeyEntry{Qt::Key_PageUp, EPad::kKeypad, kVkPrior, 73, false},
    CKeyEntry{Qt::Key_PageDown, EPad::kMain, kVkNext, 81, true},
    CKeyEntry{Qt::Key_PageDown, EPad::kKeypad, kVkNext, 81, false},
    CKeyEntry{Qt::Key_Insert, EPad::kMain, kVkInsert, 82, true},
    CKeyEntry{Qt::Key_Insert, EPad::kKeypad, kVkInsert, 82, false},
    CKeyEntry{Qt::Key_Delete, EPad::kMain, kVkDelete, 83, true},
    CKeyEntry{Qt::Key_Delete, EPad::kKeypad, kVkDelete, 83, false},
    CKeyEntry{Qt::Key_Clear, EPad::kAny, kVkClear, 76, false},
    // The keypad's own keys.
    CKeyEntry{Qt::Key_Enter, EPad::kAny, kVkReturn, 28, true},
    CKeyEntry{Qt::Key_Asterisk, EPad::kKeypad, kVkMultiply, 55, false},
    CKeyEntry{Qt::Key_Plus, EPad::kKeypad, kVkAdd, 78, false},
    CKeyEntry{Qt::Key_Minus, EPad::kKeypad, kVkSubtract, 74, false},
    CKeyEntry{Qt::Key_Slash, EPad::kKeypad, kVkDivide, 53, true},
    CKeyEntry{Qt::Key_Period, EPad::kKeypad, kVkDecimal, 83, false},
    CKeyEntry{Qt::Key_Comma, EPad::kKeypad, kVkDecimal, 83, false},
    // Editing keys and modifiers.
    CKeyEntry{Qt::Key_Backspace, EPad::kAny, kVkBack, 14, false},
    CKeyEntry{Qt::Key_Tab, EPad::kAny, kVkTab, 15, false},
    CKeyEntry{Qt::Key_Backtab, EPad::kAny, kVkTab, 15, false},
    CKeyEntry{Qt::Key_Return, EPad::kAny, kVkReturn, 28, false},
    CKeyEntry{Qt::Key_Shift, EPad::kAny, kVkShift, 42, false},
    CKeyEntry{Qt::Key_Control, EPad::kAny, kVkControl, 29, false},
    CKeyEntry{Qt::Key_Alt, EPad::kAny, kVkMenu, 56, false},
    CKeyEntry{Qt::Key_AltGr, EPad::kAny, kVkMenu, 56, true},
    CKeyEntry{Qt::Key_Meta, EPad::kAny, kVkLWin, 91, true},
    CKeyEntry{Qt::Key_Super_L, EPad::kAny, kVkLWin, 91, true},
    CKeyEntry{Qt::Key_Super_R, EPad::kAny, kVkRWin, 92, true},
    CKeyEntry{Qt::Key_Menu, EPad::kAny, kVkApps, 93, true},
    CKeyEntry{Qt::Key_CapsLock, EPad::kAny, kVkCapital, 58, false},
    CKeyEntry{Qt::Key_NumLock, EPad::kAny, kVkNumLock, 69, false},
    CKeyEntry{Qt::Key_ScrollLock, EPad::kAny, kVkScroll, 70, false},
    CKeyEntry{Qt::Key_Print, EPad::kAny, kVkSnapshot, 55, true},
    CKeyEntry{Qt::Key_SysReq, EPad::kAny, kVkSnapshot, 55, true},
    CKeyEntry{Qt::Key_Cancel, EPad::kAny, kVkCancel, 70, true},
    // Punctuation, with the US keyboard's shifted symbols.
    CKeyEntry{Qt::Key_Semicolon, EPad::kAny, kVkOem1, 39, false},
    CKeyEntry{Qt::Key_Colon, EPad::kAny, kVkOem1, 39, false},
    CKeyEntry{Qt::Key_Equal, EPad::kAny, kVkOemPlus, 13, false},
    CKeyEntry{Qt::Key_Plus, EPad::kMain, kVkOemPlus, 13, false},
    CKeyEntry{Qt::Key_Comma, EPad::kMain, kVkOemComma, 51, false},
    CKeyEntry{Qt::Key_Less, EPad::kAny, kVkOemComma, 51, false},
    CKeyEntry{Qt::Key_Minus, EPad::kMain, kVkOemMinus, 12, false},
    CKeyEntry{Qt::Key_Underscore, EPad::kAny, kVkOemMinus, 12, false},
    CKeyEntry{Qt::Key_Period, EPad::kMain, kVkOemPeriod, 52, false},
    CKeyEntry{Qt::Key_Greater, EPad::kAny, kVkOemPeriod, 52, false},
    CKeyEntry{Qt::Key_Slash, EPad::kMain, kVkOem2, 53, false},
    CKeyEntry{Qt::Key_Question, EPad::kAny, kVkOem2, 53, false},
    CKeyEntry{Qt::Key_QuoteLeft, EPad::kAny, kVkOem3, 41, false},
    CKeyEntry{Qt::Key_AsciiTilde, EPad::kAny, kVkOem3, 41, false},
    CKeyEntry{Qt::Key_BracketLeft, EPad::kAny, kVkOem4, 26, false},
    CKeyEntry{Qt::Key_BraceLeft, EPad::kAny, kVkOem4, 26, false},
    CKeyEntry{Qt::Key_Backslash, EPad::kAny, kVkOem5, 43, false},
    CKeyEntry{Qt::Key_Bar, EPad::kAny, kVkOem5, 43, false},
    CKeyEntry{Qt::Key_BracketRight, EPad::kAny, kVkOem6, 27, false},
    CKeyEntry{Qt::Key_BraceRight, EPad::kAny, kVkOem6, 27, false},
    CKeyEntry{Qt::Key_Apostrophe, EPad::kAny, kVkOem7, 40, false},
    CKeyEntry{Qt::Key_QuoteDbl, EPad::kAny, kVkOem7, 40, false},
    CKeyEntry{Qt::Key_Exclam, EPad::kAny, '1', 2, false},
    CKeyEntry{Qt::Key_At, EPad::kAny, '2', 3, false},
    CKeyEntry{Qt::Key_NumberSign, EPad::kAny, '3', 4, false},
    CKeyEntry{Qt::Key_Dollar, EPad::kAny, '4', 5, false},
    CKeyEntry{Qt::Key_Percent, EPad::kAny, '5', 6, false},
    CKeyEntry{Qt::Key_AsciiCircum, EPad::kAny, '6', 7, false},
    CKeyEntry{Qt::Key_Ampersand, EPad::kAny, '7', 8, false},
    CKeyEntry{Qt::Key_Asterisk, EPad::kMain, '8', 9, false},
    CKeyEntry{Qt::Key_ParenLeft, EPad::kAny, '9', 10, false},
    CKeyEntry{Qt::Key_ParenRight, EPad::kAny, '0', 11, false},
};

// Scan codes of the letters A to Z and of the keypad's digits 0 to 9.
constexpr std::array<UINT, 26> kLetterScan = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                              49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
constexpr std::array<UINT, 10> kKeypadDigitScan = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};

}  // namespace

std::optional<CKeyTranslation> TranslateKey(int nQtKey, Qt::KeyboardModifiers modifiers) {
    const bool bKeypad = modifiers.testFlag(Qt::KeypadModifier);
    if (nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z) {
        const int n = nQtKey - Qt::Key_A;
        return CKeyTranslation{static_cast<UINT>('A' + n), kLetterScan[static_cast<size_t>(n)],
                               false};
    }
    if (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9) {
        const int n = nQtKey - Qt::Key_0;
        if (bKeypad) {
            return CKeyTranslation{kVkNumpad0 + static_cast<UINT>(n),
                                   kKeypadDigitScan[static_cast<size_t>(n)], false};
        }
        // The top row runs 1 (scan 2) to 9 (scan 10), then 0 (scan 11).
        return CKeyTranslation{static_cast<UINT>('0' + n), n == 0 ? 11u : static_cast<UINT>(n + 1),
                               false};
    }
    if (nQtKey >= Qt::Key_F1 && nQtKey <= Qt::Key_F12) {
        const int n = nQtKey - Qt::Key_F1;
        // F1 to F10 have scan codes 59 to 68; F11 and F12 were added later as 87 and 88.
        return CKeyTranslation{VK_F1 + static_cast<UINT>(n),
                               n < 10 ? static_cast<UINT>(59 + n) : static_cast<UINT>(87 + n - 10),
                               false};
    }
    const CKeyEntry* pAny = nullptr;
    for (const CKeyEntry& entry : kTable) {
        if (entry.nQtKey != nQtKey) {
            continue;
        }
        if (entry.pad == EPad::kAny) {
            pAny = &entry;
        } else if ((entry.pad == EPad::kKeypad) == bKeypad) {
            return CKeyTranslation{entry.nVirtKey, entry.nScanCode, entry.bExtended};
        }
    }
    if (pAny != nullptr) {
        return CKeyTranslation{pAny->nVirtKey, pAny->nScanCode, pAny->bExtended};
    }
    return std::nullopt;
}
