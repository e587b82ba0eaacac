// The view's window: the Qt widget that hosts CZorvikView and lends it the desktop's services.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "game/zorvikview.h"
#include "platform/viewwindow.h"
#include "qt/sound.h"

class QKeyEvent;
class CViewWidget;

// A drawing surface over the view's backing image. A client surface schedules a repaint of the
// rectangle it touched when it is released; the paint's own surface needs none.
class CImageDC final : public CDC {
public:
    CImageDC(CViewWidget& wnd, bool bClient);
    ~CImageDC() override;
    CImageDC(const CImageDC&) = delete;
    CImageDC& operator=(const CImageDC&) = delete;

    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) override;

private:
    QPointer<CViewWidget> m_pWnd;  // the widget may go while a modal box holds the surface
    bool m_bClient;
    QRect m_rcTouched;
};

// Keeps the picture of the view in an RGB32 image of the client size. The game draws into it at
// any time; a paint erases it to the palette's base colour and redraws it whole through
// OnDraw when the view was invalidated or resized, and then shows it.
class CViewWidget : public QWidget, public IViewWindow {
    Q_OBJECT

public:
    CViewWidget(CZorvikDoc& doc, IRuntime& runtime, QWidget* pParent = nullptr);
    ~CViewWidget() override;

    CZorvikView& View() { return m_view; }
    const QImage& Image() const { return m_image; }
    bool IsPainting() const { return m_bInPaint; }

    // The paint's work on the backing image: erase to the background, then OnDraw.
    void PaintImage();

    // Gives the keyboard back to the view when a box has closed, so the next key reaches the
    // game. Activates the window too: no window manager need hand the activation back.
    void TakeKeyboard();

    // The window goes: the view's destroy handler stops its timer, and no timer ticks again.
    // Called once, when the frame closes or else when the widget is destroyed.
    void Destroy();

    // Set by the main frame: runs the Options dialog on the values (IDOK or IDCANCEL).
    std::function<int(COptionsValues&)> m_fnOptionsDialog;
    // Set by the main frame: whether a key press is one of its accelerators, which the frame
    // translates into a command; such a key never reaches the view, even when its command is
    // disabled.
    std::function<bool(const QKeyEvent&)> m_fnIsAccelerator;

    // --- IViewWindow --------------------------------------------------------------------------
    void SetTimer(UINT_PTR nIDEvent, UINT nElapse) override;
    void KillTimer(UINT_PTR nIDEvent) override;
    void InvalidateRect() override;
    CRect GetClientRect() const override;
    COLORREF GetBackgroundColour() const override;
    std::unique_ptr<CDC> GetClientDC() override;
    void Default() override;
    void SetMainWindowText(const std::string& text) override;
    void SetStatusPaneText(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, UINT nType) override;
    void MessageBeep(UINT nType) override;
    int DoOptionsDialog(COptionsValues& values) override;

signals:
    void CaptionChanged(const QString& text);
    void StatusTextChanged(const QString& text);
    // After every key and timer tick the view has handled: its commands' states may have changed.
    void ViewEventDone();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    // Tab and Backtab are keys of the game's window like any other, not focus moves.
    bool focusNextPrevChild(bool) override { return false; }

private:
    friend class CImageDC;

    CZorvikView m_view;
    QImage m_image;
    bool m_bErasePending = true;
    bool m_bInPaint = false;
    bool m_bInKeyDown = false;
    bool m_bDefaulted = false;
    bool m_bDestroyed = false;
    std::map<UINT_PTR, std::unique_ptr<QTimer>> m_timers;
    CEventSound m_sound;
};
