// The score log as a file: hostile contents, huge logs, and programs appending at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "fakes/fakeplatform.h"
#include "scorelog/scorelogfile.h"
#include "scorelogtestdir.h"

namespace {

using Best = std::array<std::int32_t, 4>;

// The user the tests run as.
CUserIds Me() {
    return CSystemRuntime().GetUserIds();
}

// Whether the log beside the program may take a record.
bool BesideTakesTheLog(const CScoreLogDir& dir) {
    CFakeRuntime runtime;
    runtime.m_programPath = dir.ProgramPath();
    return ScoreLogPlaceOf(runtime).beside.refusal.empty();
}

// Reading a log, however hostile, through the report and the show-score box: no crash, and the
// file keeps its bytes and its modification time.
TEST(ScoreLogFile, HostileLogsNeverCrashTheGameNorChangeTheFile) {
    std::mt19937 random(77u);
    std::uniform_int_distribution<int> pickByte(0, 255);
    std::string binary(1 << 20, '\0');
    for (char& c : binary) {
        c = static_cast<char>(pickByte(random));
    }
    std::string hugeNumbers;
    for (int i = 0; i < 2000; ++i) {
        hugeNumbers += "Score: " + std::string(static_cast<std::size_t>(i % 120), '9') +
                       "\n  Niveau: " + std::string(static_cast<std::size_t>(i % 50), '4') + "\n";
    }
    const std::vector<std::pair<std::string, std::string>> logs = {
        {"binary", binary},
        {"no line ends", std::string(1 << 20, 'S')},
        {"one endless score line", "Score: 1" + std::string(1 << 20, ' ')},
        {"only line ends", std::string(1 << 16, '\n') + std::string(1 << 16, '\r')},
        {"NUL bytes", std::string(1 << 16, '\0')},
        {"huge numbers", hugeNumbers},
        {"level line at the very end", "Score: 5\n  Niveau: 1"},
    };
    for (const auto& [name, log] : logs) {
        SCOPED_TRACE(name);
        CScoreLogDir dir;
        CHeadlessGame game;
        game.runtime.m_programPath = dir.ProgramPath();
        dir.WriteLog(log);
        const CFileSnapshot before = CFileSnapshot::Take(dir);
        ASSERT_EQ(before.bytes.size(), log.size());
        game.view.ReadBestScores();
        game.view.OnGameShowScore();
        EXPECT_EQ(game.doc.m_aBestScore, ReadScoreLogFile(dir.LogPath()));
        EXPECT_TRUE(CFileSnapshot::Take(dir) == before);
        ASSERT_EQ(game.wnd.m_messageBoxes.size(), 1u);
        EXPECT_EQ(game.wnd.m_messageBoxes[0].text.substr(0, 8), "Level 1:");

        // A report still appends its record after all of it.
        game.doc.m_nLevel = 3;
        game.view.m_nPieces = 4;
        game.view.ReportScore();
        const std::string after = dir.ReadLog();
        ASSERT_EQ(after.substr(0, log.size()), log);
        const std::string record = after.substr(log.size());
        EXPECT_TRUE(record.starts_with("Score: ")) << record;
        EXPECT_TRUE(
            record.ends_with("Aantal stukken: 4\nBonus: 0\nInstellingen:\n"
                             "  Valtijd: 1000\n  Breedte veld: 10\n  Hoogte veld: 15\n"
                             "  Niveau: 3\n\n\n"))
            << record;
    }
}

TEST(ScoreLogFile, HugeNumbersSaturateInsteadOfWrapping) {
    CScoreLogDir dir;
    dir.WriteLog(
        "Score: 4294967297\n  Niveau: 1\nScore: -99999999999\n  Niveau: 2\n"
        "Score: 99999999999999999999\n  Niveau: 4\n");
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{2147483647, 0, 0, 2147483647}));
}

TEST(ScoreLogFile, LogOf100000RecordsReadsWholeAndUnchanged) {
    CScoreLogDir dir;
    std::string log;
    for (int i = 0; i < 100000; ++i) {
        log += "Score: " + std::to_string(i) + (i % 1000 == 0 ? " Nieuw Record!" : "") +
               "\r\nAantal stukken: 57\r\nBonus: 30\r\nInstellingen:\r\n  Valtijd: 800\r\n"
               "  Breedte veld: 12\r\n  Hoogte veld: 20\r\n  Niveau: " +
               std::to_string(1 + i % 4) + "\r\n\r\n\r\n";
    }
    dir.WriteLog(log);
    const CFileSnapshot before = CFileSnapshot::Take(dir);
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{99996, 99997, 99998, 99999}));
    EXPECT_TRUE(CFileSnapshot::Take(dir) == before);
}

TEST(ScoreLogFile, MissingOrUnusualLogsReadAsNoGamesAndTakeNoRecord) {
    CScoreLogDir dir;
    EXPECT_EQ(ReadScoreLogFile(""), (Best{}));
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{}));
    EXPECT_EQ(AppendToScoreLog("", Me(), "Score: 1\n"), "No such file or directory");

    std::filesystem::create_directory(dir.LogPath());
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{}));
    EXPECT_EQ(AppendToScoreLog(dir.LogPath(), Me(), "Score: 1\n"), "Is a directory");
    std::filesystem::remove(dir.LogPath());

    // A pipe of that name neither blocks the game nor takes a record.
    ASSERT_EQ(::mkfifo(dir.LogPath().c_str(), 0600), 0);
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{}));
    EXPECT_EQ(AppendToScoreLog(dir.LogPath(), Me(), "Score: 1\n"), "Is a named pipe");
}

// Two programs that end a game at the same moment: every record lies in the log whole, in one
// piece, and each program's records keep their order.
TEST(ScoreLogFile, TwoProcessesAppendingAtOnceKeepEveryRecordWhole) {
    CScoreLogDir dir;
    constexpr int kRecords = 300;
    int aStart[2];
    ASSERT_EQ(::pipe(aStart), 0);
    auto appendRecords = [&](int nProcess) {
        CHeadlessGame game;
        game.runtime.m_programPath = dir.ProgramPath();
        game.doc.m_nLevel = nProcess;
        for (int i = 0; i < kRecords; ++i) {
            game.view.m_nBonus = i;  // tells the records of one process apart
            game.view.ReportScore();
        }
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c = 0;
        ::close(aStart[1]);
        const bool bStarted = ::read(aStart[0], &c, 1) == 1;
        if (bStarted) {
            appendRecords(2);
        }
        ::_exit(bStarted ? 0 : 1);
    }
    ::close(aStart[0]);
    ASSERT_EQ(::write(aStart[1], "x", 1), 1);
    ::close(aStart[1]);
    appendRecords(1);
    int nStatus = 0;
    ASSERT_EQ(::waitpid(child, &nStatus, 0), child);
    ASSERT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);

    // Cut the log into records at their two empty lines and match each whole.
    const std::string log = dir.ReadLog();
    int aNext[2] = {0, 0};
    std::size_t nPos = 0;
    int nRecords = 0;
    while (nPos < log.size()) {
        const std::size_t nEnd = log.find("\n\n\n", nPos);
        ASSERT_NE(nEnd, std::string::npos) << "a torn record at " << nPos;
        const std::string record = log.substr(nPos, nEnd + 3 - nPos);
        const std::size_t nLevelAt = record.rfind("  Niveau: ");
        ASSERT_NE(nLevelAt, std::string::npos) << record;
        const int nProcess = record[nLevelAt + 10] - '0';
        ASSERT_TRUE(nProcess == 1 || nProcess == 2) << record;
        const int i = aNext[nProcess - 1]++;
        const std::string expected =
            "Aantal stukken: 0\nBonus: " + std::to_string(i * 10) +
            "\nInstellingen:\n  Valtijd: 1000\n  Breedte veld: 10\n  Hoogte veld: 15\n"
            "  Niveau: " +
            std::to_string(nProcess) + "\n\n\n";
        ASSERT_EQ(record.substr(record.find('\n') + 1), expected) << "record " << nRecords;
        ASSERT_EQ(record.substr(0, 7), "Score: ");
        nPos = nEnd + 3;
        ++nRecords;
    }
    EXPECT_EQ(nRecords, 2 * kRecords);
    EXPECT_EQ(aNext[0], kRecords);
    EXPECT_EQ(aNext[1], kRecords);
}

// A record as the game writes it, without the record mark.
std::string WholeRecord(int nScore, int nLevel, int nPieces = 0) {
    return "Score: " + std::to_string(nScore) + "\nAantal stukken: " + std::to_string(nPieces) +
           "\nBonus: 0\nInstellingen:\n  Valtijd: 1000\n"
           "  Breedte veld: 10\n  Hoogte veld: 15\n  Niveau: " +
           std::to_string(nLevel) + "\n\n\n";
}

// The log's place, decided from the program's path, the user, what stat says and the data
// folder, alike for the superuser and a player: an installed program keeps nothing beside it,
// the mode bits decide, and no link of another user is followed.
TEST(ScoreLogChoice, PlaceFollowsPathOwnersAndModeBitsForRootToo) {
    enum EWhere { kBeside, kRefused, kNotBeside };
    const auto found = [](mode_t nMode, uid_t uid, gid_t gid = 100) {
        return CPathInfo{0, nMode, uid, gid, 8, 9};
    };
    const CPathInfo kNone{};
    const CPathInfo ourDir = found(S_IFDIR | 0755, 1000);
    const CPathInfo rootDir = found(S_IFDIR | 0755, 0, 0);
    const auto none = [&](const CPathInfo& folder) { return CLogFacts{kNone, kNone, folder}; };
    const auto file = [&](mode_t nMode, uid_t uid, gid_t gid) {
        return CLogFacts{found(S_IFREG | nMode, uid, gid), found(S_IFREG | nMode, uid, gid),
                         rootDir};
    };
    const auto link = [&](uid_t linkOwner, const CPathInfo& target) {
        return CLogFacts{found(S_IFLNK | 0777, linkOwner), target, rootDir};
    };
    struct Case {
        const char* pszWhat;
        const char* pszProgram;
        uid_t uid;  // gid 100, also member of group 300
        CLogFacts beside;
        EWhere where;
    };
    const Case aCases[] = {
        {"player's build tree", "/h/p/b/zorvik", 1000, none(ourDir), kBeside},
        {"root's build tree", "/root/b/zorvik", 0, none(rootDir), kBeside},
        {"root in a player's folder", "/h/p/b/zorvik", 0, none(ourDir), kRefused},
        {"folder of group 100", "/g/zorvik", 1000, none(found(S_IFDIR | 0775, 0)), kBeside},
        {"folder without x", "/h/p/zorvik", 1000, none(found(S_IFDIR | 0600, 1000)), kRefused},
        {"installed in /usr", "/usr/games/zorvik", 0, none(rootDir), kNotBeside},
        {"in /usr/local", "/usr/local/games/zorvik", 1000, file(0666, 1000, 100), kNotBeside},
        {"in /opt", "/opt/zorvik/bin/zorvik", 0, none(rootDir), kNotBeside},
        {"beside /usr", "/usr2/zorvik", 0, none(rootDir), kBeside},
        {"root's log 0444", "/root/b/zorvik", 0, file(0444, 0, 0), kRefused},
        {"root's log 0644", "/root/b/zorvik", 0, file(0644, 0, 0), kBeside},
        {"group may read", "/g/zorvik", 1000, file(0644, 1001, 100), kRefused},
        {"other group writes", "/g/zorvik", 1000, file(0664, 1001, 300), kBeside},
        {"others write", "/g/zorvik", 1000, file(0646, 1001, 999), kBeside},
        {"owner bits decide", "/g/zorvik", 1000, file(0466, 1000, 100), kRefused},
        {"another user's link", "/r/zorvik", 0, link(12347, found(S_IFREG | 0644, 0)), kRefused},
        {"link to another's file", "/r/zorvik", 0, link(0, found(S_IFREG | 0666, 12347)), kRefused},
        {"own link to own file", "/r/zorvik", 0, link(0, found(S_IFREG | 0644, 0)), kBeside},
        {"dangling link", "/r/zorvik", 0, link(0, kNone), kRefused},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszWhat);
        const CScoreLogFacts facts{
            c.pszProgram, {c.uid, 100, {100, 300}}, c.beside, {"/h/p/.local/share", "/h/p"}};
        const CScoreLogPlace place = ChooseScoreLogPlace(facts);
        EXPECT_EQ(place.userPath, "/h/p/.local/share/zorvik/zorvik.txt");
        EXPECT_EQ(place.besidePath.empty(), c.where == kNotBeside);
        EXPECT_EQ(place.beside.refusal.empty(), c.where != kRefused);
        EXPECT_EQ(place.First(), c.where == kBeside ? place.besidePath : place.userPath);
    }

    // The user log's folders that may be made: never the home folder, nor anything above
    // $XDG_DATA_HOME.
    const std::pair<CDataFolder, std::vector<std::string>> aFolders[] = {
        {{"/h/p/.local/share", "/h/p"},
         {"/h/p/.local", "/h/p/.local/share", "/h/p/.local/share/zorvik"}},
        {{"/srv/data", "/srv"}, {"/srv/data", "/srv/data/zorvik"}},
        {{"/.local/share", "/"}, {"/.local", "/.local/share", "/.local/share/zorvik"}},
        {{"/", "/"}, {"/zorvik"}},
        {{}, {}},
    };
    for (const auto& [data, folders] : aFolders) {
        SCOPED_TRACE(data.path);
        const CScoreLogPlace place = ChooseScoreLogPlace({"/usr/games/zorvik", {}, {}, data});
        EXPECT_EQ(place.foldersToMake, folders);
        EXPECT_EQ(place.userPath, folders.empty() ? "" : folders.back() + "/zorvik.txt");
    }
}

// A full disk, a quota or a size limit lets only part of a record out. What did get out is
// taken off again: no torn tail is left to glue itself to the next record and credit a score
// that no game made, and a log made for the record and left empty is removed. The record goes to
// the player's own log instead; when that fails too, a second box says where and why. The game
// runs on past the limit, since the program ignores SIGXFSZ.
TEST(ScoreLogFile, RecordThatDoesNotFitGoesToTheUserLogOrIsAnnounced) {
    const std::string oldLog = WholeRecord(300, 1) + WholeRecord(40, 2);
    struct Case {
        bool bOldLog;  // the log beside the program holds oldLog and the user log takes the record
        rlim_t nRoom;  // bytes the game may add to oldLog, or write to a new file
    };
    const Case aCases[] = {{true, 0}, {true, 1}, {true, 50}, {true, 120}, {false, 0}, {false, 50}};
    for (const Case& c : aCases) {
        SCOPED_TRACE(testing::Message() << c.bOldLog << " " << c.nRoom);
        CScoreLogDir dir;
        if (c.bOldLog) {
            dir.WriteLog(oldLog);
        }
        const std::filesystem::path userLog = dir.Dir() / "data" / "zorvik" / "zorvik.txt";
        CHeadlessGame game;
        game.runtime.m_programPath = dir.ProgramPath();
        game.runtime.m_userDataDir = {(dir.Dir() / "data").string(), dir.Dir().string()};
        game.doc.m_nLevel = 2;
        game.view.m_nPieces = 777;
        int aBoxes[2];
        ASSERT_EQ(::pipe(aBoxes), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlim_t nLimit = (c.bOldLog ? oldLog.size() : 0) + c.nRoom;
            const struct rlimit limit = {nLimit, nLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                ::_exit(2);
            }
            game.view.ReportScore();
            // How many boxes, and the last one's caption and text.
            const auto& boxes = game.wnd.m_messageBoxes;
            const std::string seen =
                std::to_string(boxes.size()) + boxes.back().caption + "|" + boxes.back().text;
            ::_exit(::write(aBoxes[1], seen.data(), seen.size()) == std::ssize(seen) ? 0 : 3);
        }
        int nStatus = 0;
        ASSERT_EQ(::waitpid(child, &nStatus, 0), child);
        ASSERT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << nStatus;
        char buffer[1024];
        const ssize_t nSeen = ::read(aBoxes[0], buffer, sizeof buffer);
        ::close(aBoxes[0]);
        ::close(aBoxes[1]);

        EXPECT_EQ(dir.ReadLog(), c.bOldLog ? oldLog : "");
        EXPECT_EQ(dir.LogExists(), c.bOldLog) << "the log made for the record is removed";
        std::string record = WholeRecord(777, 2, 777);
        record.insert(std::strlen("Score: 777"), " Nieuw Record!");
        std::ifstream in(userLog, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bOldLog ? record : "");
        EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(nSeen, 0))),
                  c.bOldLog ? "1Score|" + record.substr(0, record.size() - 2)
                            : "2Score|De score kon niet worden bewaard.\n" + userLog.string() +
                                  ": File too large");

        // The next record that fits stands whole after the old ones and reads back as made.
        game.view.m_nPieces = 5;
        game.view.ReportScore();
        EXPECT_EQ(dir.ReadLog(), c.bOldLog
                                     ? oldLog + WholeRecord(5, 2, 5)
                                     : "Score: 5 Nieuw Record!" + WholeRecord(5, 2, 5).substr(8));
    }
}

// The opens of every file in one folder, as inotify reports them.
class COpenWatch {
public:
    explicit COpenWatch(const std::filesystem::path& dir)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_GE(m_fd, 0);
        EXPECT_GE(::inotify_add_watch(m_fd, dir.c_str(), IN_OPEN), 0);
    }
    ~COpenWatch() { ::close(m_fd); }
    COpenWatch(const COpenWatch&) = delete;
    COpenWatch& operator=(const COpenWatch&) = delete;

    // The names opened since the last call.
    std::vector<std::string> Opened() {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[4096];
        ssize_t nRead = 0;
        while ((nRead = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t i = 0; i < nRead;) {
                inotify_event event{};
                std::memcpy(&event, buffer + i, sizeof event);
                names.emplace_back(event.len > 0 ? buffer + i + sizeof event : ".");
                i += static_cast<ssize_t>(sizeof event + event.len);
            }
        }
        return names;
    }

private:
    int m_fd;
};

// Only a regular file is ever opened as the log: a folder, a pipe or a device of that name (or a
// link to one) is refused before it is opened, since some act on being opened and a pipe could
// hold the game up. Neither reading nor appending opens it, and it takes no record.
TEST(ScoreLogFile, LogThatIsNoRegularFileIsNeverOpened) {
    struct Case {
        const char* pszName;
        std::function<bool(const CScoreLogDir&)> fnMake;
    };
    const auto mkfifoAt = [](const std::filesystem::path& path) {
        return ::mkfifo(path.c_str(), 0600) == 0;
    };
    const Case aCases[] = {
        {"folder", [](const CScoreLogDir& d) { return ::mkdir(d.LogPath().c_str(), 0700) == 0; }},
        {"pipe", [&](const CScoreLogDir& d) { return mkfifoAt(d.LogPath()); }},
        {"link to a pipe",
         [&](const CScoreLogDir& d) {
             std::filesystem::create_symlink("pipe", d.LogPath());
             return mkfifoAt(d.Dir() / "pipe");
         }},
        {"link to a folder",
         [](const CScoreLogDir& d) {
             std::filesystem::create_symlink(".", d.LogPath());
             return true;
         }},
        // Making a device takes the superuser; where that is not at hand, the pipe stands in.
        {"device",
         [&](const CScoreLogDir& d) {
             return ::mknod(d.LogPath().c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0 ||
                    mkfifoAt(d.LogPath());
         }},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszName);
        CScoreLogDir dir;
        ASSERT_TRUE(c.fnMake(dir));
        COpenWatch watch(dir.Dir());
        EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{}));
        EXPECT_NE(AppendToScoreLog(dir.LogPath(), Me(), WholeRecord(1, 1)), "");
        EXPECT_EQ(watch.Opened(), std::vector<std::string>{});
    }
}

// A dangling link named zorvik.txt makes nothing where it points, and nothing at all.
TEST(ScoreLogFile, DanglingLinkCreatesNothingAnywhere) {
    CScoreLogDir dir;
    std::filesystem::create_directory(dir.Dir() / "elsewhere");
    for (const std::filesystem::path& target :
         {dir.Dir() / "elsewhere" / "shared.txt", std::filesystem::path("elsewhere/shared.txt"),
          dir.Dir() / "missing" / "shared.txt"}) {
        SCOPED_TRACE(target);
        std::filesystem::create_symlink(target, dir.LogPath());
        EXPECT_FALSE(BesideTakesTheLog(dir));
        EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{}));
        EXPECT_NE(AppendToScoreLog(dir.LogPath(), Me(), WholeRecord(1, 1)), "");
        EXPECT_TRUE(std::filesystem::is_empty(dir.Dir() / "elsewhere"));
        EXPECT_FALSE(std::filesystem::exists(dir.Dir() / "missing"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir.LogPath()));
        std::filesystem::remove(dir.LogPath());
    }
}

// Players who share one log through a link keep doing so: the file it points to is read and
// grows, and the link stays a link.
TEST(ScoreLogFile, LinkToAnExistingLogIsReadAndAppendedThrough) {
    CScoreLogDir dir;
    const std::filesystem::path shared = dir.Dir() / "shared.txt";
    std::ofstream(shared, std::ios::binary) << WholeRecord(60, 4);
    std::filesystem::create_symlink("shared.txt", dir.LogPath());
    EXPECT_TRUE(BesideTakesTheLog(dir));
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{0, 0, 0, 60}));
    EXPECT_EQ(AppendToScoreLog(dir.LogPath(), Me(), WholeRecord(70, 4)), "");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.LogPath()));
    EXPECT_EQ(dir.ReadLog(), WholeRecord(60, 4) + WholeRecord(70, 4));
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath()), (Best{0, 0, 0, 70}));
}

}  // namespace
