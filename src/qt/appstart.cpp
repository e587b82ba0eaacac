#include "qt/appstart.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

// One message held back while the application is made: Qt's own, or text that a library beneath
// Qt (Xlib, libwayland) wrote to stderr itself.
struct CHeldMessage {
    bool bFromQt = false;
    QtMsgType type = QtInfoMsg;
    std::string strCategory;  // empty where Qt gave none
    std::string strFile;
    std::string strFunction;
    int nLine = 0;
    std::string strText;  // UTF-8
};

// What is held back. While it is, file descriptor 2 writes into a memory file of its own.
struct CHold {
    std::mutex mutex;
    bool bHolding = false;
    std::vector<CHeldMessage> messages;
    QtMessageHandler fnPrevious = nullptr;
    int fdStderr = -1;  // the real stderr
    int fdCaught = -1;
    off_t nCaughtRead = 0;
};
CHold g_hold;

// Holds what was written to stderr since the last look. Called with the mutex held, as are the
// other functions below that change g_hold.
void HoldCaughtText() {
    std::string strText;
    char aBuffer[4096];
    ssize_t nRead = 0;
    while (g_hold.fdCaught >= 0 &&
           (nRead = pread(g_hold.fdCaught, aBuffer, sizeof(aBuffer), g_hold.nCaughtRead)) > 0) {
        strText.append(aBuffer, static_cast<std::size_t>(nRead));
        g_hold.nCaughtRead += nRead;
    }
    if (!strText.empty()) {
        g_hold.messages.push_back({false, QtInfoMsg, {}, {}, {}, 0, strText});
    }
}

// Sends stderr into a memory file; leaves it alone where that cannot be done.
void CatchStderr() {
    std::fflush(stderr);
    const int fdCaught = memfd_create("zorvik-stderr", MFD_CLOEXEC);
    const int fdStderr = fdCaught >= 0 ? fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0) : -1;
    if (fdStderr < 0 || dup2(fdCaught, STDERR_FILENO) < 0) {
        close(fdStderr);  // either may be -1: nothing to close
        close(fdCaught);
        return;
    }
    g_hold.fdCaught = fdCaught;
    g_hold.fdStderr = fdStderr;
}

void ReleaseStderr() {
    HoldCaughtText();
    if (g_hold.fdStderr >= 0) {
        dup2(g_hold.fdStderr, STDERR_FILENO);
        close(g_hold.fdStderr);
        close(g_hold.fdCaught);
        g_hold.fdStderr = g_hold.fdCaught = -1;
    }
}

// Qt's reasons on one line: the lines of the held messages, trimmed and without their closing full
// stops, joined by "; ". Control characters become spaces: no name can break the line or drive
// the terminal.
QString JoinedReasons(const std::vector<CHeldMessage>& messages) {
    QStringList reasons;
    for (const CHeldMessage& message : messages) {
        for (QString line : QString::fromStdString(message.strText).split(u'\n')) {
            std::replace_if(
                line.begin(), line.end(),
                [](QChar c) { return c.category() == QChar::Other_Control; }, QChar(u' '));
            line = line.trimmed();
            if (line.endsWith(u'.')) {
                line.chop(1);
            }
            if (!line.isEmpty()) {
                reasons << line;
            }
        }
    }
    return reasons.join(u"; ");
}

// Qt cannot open a display and is about to abort: say why in one line and end instead.
[[noreturn]] void EndWithoutDisplay() {
    ReleaseStderr();
    std::fprintf(stderr, "zorvik: cannot open the display (%s)\n",
                 qPrintable(JoinedReasons(g_hold.messages)));
    std::fflush(nullptr);
    std::_Exit(1);
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::unique_lock lock(g_hold.mutex);
    if (!g_hold.bHolding) {  // a thread of Qt's that came in just as the holding ended
        lock.unlock();
        g_hold.fnPrevious(type, context, text);
        return;
    }
    HoldCaughtText();
    // Qt's last word, that no platform plugin could start, says least of all: only when it is all.
    if (type != QtFatalMsg || g_hold.messages.empty()) {
        const auto orEmpty = [](const char* psz) { return psz != nullptr ? psz : ""; };
        g_hold.messages.push_back({true, type, orEmpty(context.category), orEmpty(context.file),
                                   orEmpty(context.function), context.line, text.toStdString()});
    }
    if (type == QtFatalMsg) {
        EndWithoutDisplay();
    }
}

// Qt's platform categories, messages without a category (the Wayland plugin's) and what the
// libraries beneath Qt write are about the platforms Qt tries.
bool IsAboutPlatform(const CHeldMessage& message) {
    return !message.bFromQt || message.strCategory.empty() || message.strCategory == "default" ||
           message.strCategory.starts_with("qt.qpa.");
}

// Qt ends its attempt at each platform that fails with a word in the category qt.qpa.plugin.
// What it said about platforms up to its last such word only describes a fallback that worked:
// that is dropped, the rest is passed on as it would have been.
void PassOn(const std::vector<CHeldMessage>& messages) {
    std::size_t nFallbackEnd = 0;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].bFromQt && messages[i].strCategory == "qt.qpa.plugin") {
            nFallbackEnd = i + 1;
        }
    }
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const CHeldMessage& m = messages[i];
        if (i < nFallbackEnd && IsAboutPlatform(m)) {
            continue;
        }
        if (!m.bFromQt) {
            std::fwrite(m.strText.data(), 1, m.strText.size(), stderr);
            continue;
        }
        const auto orNull = [](const std::string& str) {
            return str.empty() ? nullptr : str.c_str();
        };
        const QMessageLogContext context(orNull(m.strFile), m.nLine, orNull(m.strFunction),
                                         orNull(m.strCategory));
        g_hold.fnPrevious(m.type, context, QString::fromStdString(m.strText));
    }
}

}  // namespace

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
    // Where warnings are to abort the program, whoever asked for that wants to see them at once.
    if (qEnvironmentVariableIsSet("QT_FATAL_WARNINGS") ||
        qEnvironmentVariableIsSet("QT_FATAL_CRITICALS")) {
        return std::make_unique<QApplication>(argc, argv);
    }
    {
        const std::lock_guard lock(g_hold.mutex);
        g_hold.bHolding = true;
        CatchStderr();
        g_hold.fnPrevious = qInstallMessageHandler(HoldMessage);
    }
    auto pApp = std::make_unique<QApplication>(argc, argv);
    std::vector<CHeldMessage> messages;
    {
        const std::lock_guard lock(g_hold.mutex);
        qInstallMessageHandler(g_hold.fnPrevious);
        ReleaseStderr();
        g_hold.bHolding = false;
        messages.swap(g_hold.messages);
    }
    PassOn(messages);
    return pApp;
}
