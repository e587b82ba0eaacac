// For the start-up benchmark: ends the program right after the first paint of one widget and
// prints the process's peak resident memory.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

class CFirstPaintProbe : public QObject {
public:
    explicit CFirstPaintProbe(QWidget* pWatched) { pWatched->installEventFilter(this); }

    // The peak resident set size in KiB (VmHWM), or -1.
    static long PeakRssKiB() {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmHWM:", 0) == 0) {
                return std::stol(line.substr(6));
            }
        }
        return -1;
    }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Paint && !m_bSeen) {
            m_bSeen = true;
            // Quit once this paint and the flush to the screen that follows it are done.
            QTimer::singleShot(0, qApp, [] {
                std::printf("peak_rss_kib %ld\n", PeakRssKiB());
                QApplication::quit();
            });
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    bool m_bSeen = false;
};
