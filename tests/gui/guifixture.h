// The whole program on the offscreen platform: the application started as at a normal start,
// with a fake runtime whose program lies in a fresh folder, so the score log is the test's own.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/mainframe.h"
#include "app/zorvikapp.h"
#include "fakes/fakeplatform.h"
#include "game/zorvikview.h"
#include "guimain/modalscript.h"
#include "qt/viewwidget.h"

class CGuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CMainFrame& Frame() { return *m_pApp->m_pMainWnd; }
    CViewWidget& ViewWidget() { return *Frame().GetView(); }
    CZorvikView& Game() { return ViewWidget().View(); }
    CZorvikDoc& Doc() { return *Game().GetDocument(); }

    // Sizes the frame so that the view's client area becomes cx by cy, and lets it repaint.
    void SetViewSize(int cx, int cy);
    // Lets every pending paint happen.
    static void Settle();
    // What the view shows now, read back through a repaint of the widget.
    QImage GrabView();
    // The view's background: the palette's base colour, that of text views and entries.
    QRgb Background();

    // Calls fn once with the next modal window to appear (a message box, a dialog), from the
    // event loop that the modal window runs; fn must close it. A window that never comes fails
    // the test (see CModalScript).
    void OnNextModal(std::function<void(QWidget*)> fn) {
        m_pModalScript = std::make_unique<CModalScript>(std::move(fn));
    }
    // Whether the callback of OnNextModal has run.
    bool ModalHandled() const { return m_pModalScript != nullptr && m_pModalScript->Ran(); }

    // The texts of the lock-key panes, e.g. "[CAP][][]".
    std::string LockKeyPanes();

    // Lets the program run for nMs milliseconds and names the receiver of every timer event in
    // that time: each one a wake-up of the program.
    static std::vector<std::string> TimerEventsDuring(int nMs);

    std::filesystem::path ScoreLogPath() const { return m_dir / "zorvik.txt"; }

    std::filesystem::path m_dir;
    CFakeRuntime m_runtime;
    std::unique_ptr<CZorvikApp> m_pApp;

private:
    std::unique_ptr<CModalScript> m_pModalScript;
};

// A COLORREF as the backing image stores it; written out apart from the program's ToQRgb, so
// that a fault there shows up as wrong pixels.
inline QRgb Rgb(COLORREF cr) {
    return qRgb(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* pStream) {
    *pStream << '"' << text.toStdString() << '"';
}
