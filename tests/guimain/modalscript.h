// Driving modal windows from a test. A modal window runs its own event loop, so the test's script
// for it has to run from inside that loop: a timer, which every event loop serves, the modal
// window's own too, looks for the window and runs the script on it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// How far a modal window must be up before its script runs.
enum class EModalReady {
    kActive,   // shown and active, so that keys go to it (offscreen, or a window manager)
    kExposed,  // shown; on a bare X server nothing makes a window active
};

// Runs fnScript once on the next modal window (a message box, a dialog) to come up over the one
// open when this is made. The script must close the window. A script left without its window when
// this goes, or one that leaves its window open, fails the test; no other window is touched.
class CModalScript {
public:
    explicit CModalScript(std::function<void(QWidget*)> fnScript)
        : CModalScript(EModalReady::kActive, std::move(fnScript)) {}
    CModalScript(EModalReady ready, std::function<void(QWidget*)> fnScript)
        : m_fnScript(std::move(fnScript)),
          m_ready(ready),
          m_pOuter(QApplication::activeModalWidget()) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { RunIfShown(); });
        m_timer.start();
    }
    ~CModalScript() { EXPECT_TRUE(m_bRan) << "no new modal window came up"; }
    CModalScript(const CModalScript&) = delete;
    CModalScript& operator=(const CModalScript&) = delete;

    bool Ran() const { return m_bRan; }

private:
    void RunIfShown() {
        QPointer<QWidget> pModal = QApplication::activeModalWidget();
        if (pModal == nullptr || pModal == m_pOuter || !pModal->isVisible()) {
            return;
        }
        m_timer.stop();
        m_bRan = true;
        if (m_ready == EModalReady::kActive) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(pModal));
        } else {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(pModal));
        }
        m_fnScript(pModal);
        if (pModal != nullptr && pModal->isVisible()) {
            ADD_FAILURE() << "the script left the window open";
            pModal->close();
        }
    }

    std::function<void(QWidget*)> m_fnScript;
    EModalReady m_ready;
    QPointer<QWidget> m_pOuter;
    QTimer m_timer;
    bool m_bRan = false;
};
