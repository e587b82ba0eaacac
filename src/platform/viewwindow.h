// What the view asks of the window that hosts it, named as the game names each service.
#pragma once

#include <memory>
#include <string>

#include "platform/cdc.h"
#include "platform/wintypes.h"

// The settings the Options dialog shows and, on OK, hands back.
struct COptionsValues {
    COLORREF m_crColour = 0;  // the colour of single-colour mode
    int m_nWidth = 0;         // field width in squares
    int m_nHeight = 0;        // field height in squares
    int m_nLevel = 0;
    int m_nFallTime = 0;  // starting fall interval, ms
    BOOL m_bSingleColour = FALSE;
};

class IViewWindow {
public:
    virtual ~IViewWindow() = default;

    // Window timer nIDEvent with a period in milliseconds. Setting a running timer again
    // restarts it with the new period; after KillTimer no tick of it arrives.
    virtual void SetTimer(UINT_PTR nIDEvent, UINT nElapse) = 0;
    virtual void KillTimer(UINT_PTR nIDEvent) = 0;

    // Invalidates the whole view with erase: one later paint of a view cleared to its background.
    virtual void InvalidateRect() = 0;

    // The client rectangle; left and top are always 0.
    virtual CRect GetClientRect() const = 0;

    // The colour of the view's background, that of a window's content on this desktop (white
    // in a light palette, dark in a dark one).
    virtual COLORREF GetBackgroundColour() const = 0;

    // A drawing surface over the whole client area, usable outside a paint; what is drawn on it
    // shows at once. It lives for one operation.
    virtual std::unique_ptr<CDC> GetClientDC() = 0;

    // Default processing of the message being handled (a key the view passes on).
    virtual void Default() = 0;

    // The main window's caption and pane 0 of its status bar; both take the text at once, and
    // neither is set when there is no main window.
    virtual void SetMainWindowText(const std::string& text) = 0;
    virtual void SetStatusPaneText(const std::string& text) = 0;

    // A modal message box owned by the view; returns when the player closes it.
    virtual int MessageBox(const std::string& text, const std::string& caption, UINT nType) = 0;

    // MB_ICONEXCLAMATION (warning) or MB_ICONASTERISK (information).
    virtual void MessageBeep(UINT nType) = 0;

    // Runs the modal Options dialog on values; returns IDOK after the player accepted them
    // (values then holds what was accepted), else IDCANCEL with values untouched.
    virtual int DoOptionsDialog(COptionsValues& values) = 0;
};

// A client surface for the length of one operation, as the game makes one where it draws
// outside a paint.
class CClientDC final : public CDC {
public:
    explicit CClientDC(IViewWindow& wnd) : m_pDC(wnd.GetClientDC()) {}
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) override {
        m_pDC->FillSolidRect(x, y, cx, cy, cr);
    }

private:
    std::unique_ptr<CDC> m_pDC;
};
