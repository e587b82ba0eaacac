// Driving modal windows from a test: a modal window runs its own event loop, so the test's script
// for it has to run from inside that loop.
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

// Runs fnScript on the next modal window to come up over the one open now, from the event loop
// that the new window runs. The script must close it; one that does not, or a window that never
// comes, fails the test instead of hanging it.
inline void WhenModalShown(std::function<void(QWidget*)> fnScript,
                           EModalReady ready = EModalReady::kActive) {
    QPointer<QWidget> pOuter = QApplication::activeModalWidget();
    QTimer::singleShot(0, [pOuter, ready, fnScript = std::move(fnScript)] {
        QPointer<QWidget> pModal;
        const bool bShown = QTest::qWaitFor(
            [&] {
                pModal = QApplication::activeModalWidget();
                return pModal != nullptr && pModal != pOuter && pModal->isVisible();
            },
            5000);
        EXPECT_TRUE(bShown) << "no new modal window came up";
        if (!bShown) {
            if (pModal != nullptr) {
                pModal->close();
            }
            return;
        }
        if (ready == EModalReady::kActive) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(pModal));
        } else {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(pModal));
        }
        fnScript(pModal);
        if (pModal != nullptr && pModal->isVisible()) {
            ADD_FAILURE() << "the script left the window open";
            pModal->close();
        }
    });
}
