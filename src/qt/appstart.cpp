#include "qt/appstart.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <tuple>
#include <vector>

namespace {

// A message's type, category and text: Qt's release builds give no file or function.
using CHeldMessage = std::tuple<QtMsgType, const char*, QString>;
std::mutex g_mutex;  // guards the four below
bool g_bHolding = false;
QtMessageHandler g_fnQt = nullptr;
std::vector<CHeldMessage> g_held;
QStringList g_reasons;  // Qt's words on the platforms it could not open

// Passes the held messages on, or, where they are about a platform Qt could not open, keeps all
// but debug output as reasons, each on one line: no control character breaks it.
void Release(bool bPlatformFailed) {
    static const QRegularExpression kBreaks(QStringLiteral("\\p{Cc}|\\.$"));
    for (const auto& [type, pszCategory, text] : g_held) {
        if (bPlatformFailed && type != QtDebugMsg) {
            g_reasons << QString(text).replace(kBreaks, QStringLiteral(" ")).simplified();
        } else {
            g_fnQt(type, QMessageLogContext(nullptr, 0, nullptr, pszCategory), text);
        }
    }
    g_held.clear();
}

// Until a platform is open, what Qt says may be about one it cannot open, which it tells only at
// the end: all but debug output waits, and debug output behind a waiting message keeps its place.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(g_mutex);
    if (!g_bHolding || (type == QtDebugMsg && g_held.empty())) {
        g_fnQt(type, context, text);
        return;
    }
    g_held.emplace_back(type, context.category, text);
    const bool bNoPlatform = QGuiApplication::platformName().isEmpty();
    // Qt has given up on a platform (this category) or on all of them (fatal; it aborts then).
    if (type == QtFatalMsg ||
        (bNoPlatform && type != QtDebugMsg && qstrcmp(context.category, "qt.qpa.plugin") == 0)) {
        Release(bNoPlatform);
    }
    if (type == QtFatalMsg && bNoPlatform) {
        // Qt's last word, that no platform could be opened, says least: only when it is all.
        const qsizetype nReasons = qMax<qsizetype>(g_reasons.size() - 1, 1);
        std::fprintf(stderr, "zorvik: cannot open the display (%s)\n",
                     qPrintable(g_reasons.first(nReasons).join(u"; ")));
        std::_Exit(1);
    }
}

}  // namespace

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
    // Where warnings are to abort the program, whoever asked for that wants to see them at once.
    g_bHolding = !qEnvironmentVariableIsSet("QT_FATAL_WARNINGS") &&
                 !qEnvironmentVariableIsSet("QT_FATAL_CRITICALS");
    g_fnQt = qInstallMessageHandler(HoldMessage);  // before Qt has any thread
    auto pApp = std::make_unique<QApplication>(argc, argv);
    const std::lock_guard lock(g_mutex);
    g_bHolding = false;  // from now on everything passes on at once
    Release(false);      // what came after the last platform Qt could not open
    return pApp;
}
