#include "gui/guifixture.h"

#include <unistd.h>
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <string>

void CGuiTest::SetUp() {
    static std::atomic<int> s_nCount{0};
    m_dir = std::filesystem::temp_directory_path() /
            ("zorvik-gui-" + std::to_string(getpid()) + "-" + std::to_string(++s_nCount));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    m_runtime.m_programPath = (m_dir / "zorvik").string();

    // Exit and the close box must not end the test program's event loops for later tests.
    QApplication::setQuitOnLastWindowClosed(false);
    m_pApp = std::make_unique<CZorvikApp>(m_runtime);
    ASSERT_TRUE(m_pApp->InitInstance());
    ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    Settle();
}

void CGuiTest::TearDown() {
    // A test that fails half-way may leave a box open: close it before the frame goes.
    m_pModalScript.reset();
    while (QWidget* pModal = QApplication::activeModalWidget()) {
        pModal->close();
        QApplication::processEvents();
    }
    m_pApp.reset();
    QApplication::processEvents();
    std::filesystem::remove_all(m_dir);
}

void CGuiTest::SetViewSize(int cx, int cy) {
    const QSize delta = QSize(cx, cy) - ViewWidget().size();
    Frame().resize(Frame().size() + delta);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ViewWidget().size() == QSize(cx, cy); }, 2000));
    Settle();
}

void CGuiTest::Settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QTest::qWait(10);
    }
}

std::string CGuiTest::LockKeyPanes() {
    std::string panes;
    for (const QLabel* pPane : Frame().m_aIndicators) {
        panes += "[" + pPane->text().toStdString() + "]";
    }
    return panes;
}

std::vector<std::string> CGuiTest::TimerEventsDuring(int nMs) {
    // An application's event filter sees every event of the GUI thread, timers' too.
    class CTimerSpy : public QObject {
    public:
        std::vector<std::string> m_receivers;

    protected:
        bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
            if (pEvent->type() == QEvent::Timer) {
                m_receivers.push_back(std::string(pWatched->metaObject()->className()) + " " +
                                      pWatched->objectName().toStdString());
            }
            return false;
        }
    } spy;
    qApp->installEventFilter(&spy);
    QTest::qWait(nMs);
    qApp->removeEventFilter(&spy);
    return spy.m_receivers;
}

QImage CGuiTest::GrabView() {
    return ViewWidget().grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb CGuiTest::Background() {
    return ViewWidget().palette().color(QPalette::Base).rgb();
}
