// The command line of the program itself, run as a separate process.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct CRun {
    int nExit = -1;
    QString out;
    QString err;
    bool bStillRunning = false;
};

// Runs the program with the arguments; a program still running after nWaitMs is stopped.
CRun RunZorvik(const QStringList& args, int nWaitMs = 5000) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZORVIK_EXE), args);
    CRun run;
    if (!process.waitForStarted()) {
        return run;
    }
    if (!process.waitForFinished(nWaitMs)) {
        run.bStillRunning = true;
        process.kill();
        process.waitForFinished();
    } else {
        run.nExit = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(CommandLine, HelpAndVersionAnswerOnStdoutAndExitZero) {
    for (const char* pszOption : {"--help", "-h"}) {
        const CRun run = RunZorvik({pszOption});
        EXPECT_EQ(run.nExit, 0);
        EXPECT_TRUE(run.out.startsWith("Usage: zorvik [OPTION]... [FILE]\n"))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("--version"));
    }
    const CRun run = RunZorvik({"--version"});
    EXPECT_EQ(run.nExit, 0);
    EXPECT_EQ(run.out, "zorvik 1.0\n");
}

// A file that cannot be opened ends the program with an error and no window.
TEST(CommandLine, UnopenableFileIsReportedAndEndsTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CRun run = RunZorvik({dir.filePath("missing.txt")});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_TRUE(run.err.contains("cannot open")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("missing.txt"));
    EXPECT_TRUE(run.out.isEmpty());
    run = RunZorvik({dir.path()});
    EXPECT_EQ(run.nExit, 1) << "a folder is no file";
    EXPECT_TRUE(run.err.contains("Is a directory")) << run.err.toStdString();
}

TEST(CommandLine, UnknownOptionsAndExtraFilesAreUsageErrors) {
    CRun run = RunZorvik({"--bogus"});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_TRUE(run.err.contains("unrecognized option '--bogus'")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("zorvik --help"));
    run = RunZorvik({"a.txt", "b.txt"});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_TRUE(run.err.contains("'b.txt'"));
}

// A file that opens is read no further: the game starts as without it.
TEST(CommandLine, OpenableFileStartsTheGame) {
    QTemporaryDir dir;
    const QString path = dir.filePath("spel.zrv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("anything");
    file.close();
    const CRun run = RunZorvik({path}, 1500);
    EXPECT_TRUE(run.bStillRunning) << run.err.toStdString();
    const CRun plain = RunZorvik({}, 1500);
    EXPECT_TRUE(plain.bStillRunning) << plain.err.toStdString();
}

}  // namespace
