// The score log as a file: hostile contents, huge logs, and programs appending at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
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
#include <map>
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
        EXPECT_EQ(game.doc.m_aBestScore, ReadScoreLogFile(dir.LogPath(), Me()));
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
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath(), Me()), (Best{2147483647, 0, 0, 2147483647}));
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
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath(), Me()), (Best{99996, 99997, 99998, 99999}));
    EXPECT_TRUE(CFileSnapshot::Take(dir) == before);
}

TEST(ScoreLogFile, MissingOrUnusualLogsReadAsNoGamesAndTakeNoRecord) {
    CScoreLogDir dir;
    EXPECT_EQ(ReadScoreLogFile("", Me()), (Best{}));
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath(), Me()), (Best{}));
    EXPECT_EQ(AppendToScoreLog("", Me(), "Score: 1\n"), "No such file or directory");

    std::filesystem::create_directory(dir.LogPath());
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath(), Me()), (Best{}));
    EXPECT_EQ(AppendToScoreLog(dir.LogPath(), Me(), "Score: 1\n"), "Is a directory");
    std::filesystem::remove(dir.LogPath());

    // A pipe of that name neither blocks the game nor takes a record.
    ASSERT_EQ(::mkfifo(dir.LogPath().c_str(), 0600), 0);
    EXPECT_EQ(ReadScoreLogFile(dir.LogPath(), Me()), (Best{}));
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

// The mode bits decide who may read and append, for the superuser too, who could otherwise
// write anywhere; an installed program keeps no log beside it, and a relative path names none.
TEST(ScoreLogChoice, ModeBitsDecideForRootTooAndAnInstalledProgramKeepsNoLogBeside) {
    constexpr mode_t kAppend = S_IWOTH;
    constexpr mode_t kCreate = S_IWOTH | S_IXOTH;
    struct Case {
        const char* pszWhat;
        mode_t nMode;
        uid_t owner;
        gid_t group;
        uid_t user;  // gid 100, also member of group 300
        mode_t nWanted;
        bool bAllowed;
    };
    const Case aCases[] = {
        {"root's log 0444", 0444, 0, 0, 0, kAppend, false},
        {"root's log 0644", 0644, 0, 0, 0, kAppend, true},
        {"root in a player's folder", 0755, 1000, 100, 0, kCreate, false},
        {"folder of group 100", 0775, 0, 100, 1000, kCreate, true},
        {"folder without x", 0600, 1000, 100, 1000, kCreate, false},
        {"group may read", 0644, 1001, 100, 1000, kAppend, false},
        {"other group writes", 0664, 1001, 300, 1000, kAppend, true},
        {"others write", 0646, 1001, 999, 1000, kAppend, true},
        {"owner bits decide", 0466, 1000, 100, 1000, kAppend, false},
        {"root may not read 0200", 0200, 1000, 100, 0, S_IROTH, false},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszWhat);
        struct stat st {};
        st.st_mode = c.nMode;
        st.st_uid = c.owner;
        st.st_gid = c.group;
        EXPECT_EQ(ModeAllows(st, {c.user, 100, {100, 300}}, c.nWanted), c.bAllowed);
    }

    const std::pair<const char*, const char*> aPrograms[] = {
        {"/h/p/b/zorvik", "/h/p/b/zorvik.txt"},
        {"/usr/games/zorvik", ""},
        {"/usr/local/games/zorvik", ""},
        {"/opt/zorvik/bin/zorvik", ""},
        {"/usr2/zorvik", "/usr2/zorvik.txt"},
        {"/zorvik", "/zorvik.txt"},
        {"bin/zorvik", ""},
    };
    const std::pair<CDataFolder, const char*> aDataFolders[] = {
        {{"/h/p/.local/share", "/h/p"}, "/h/p/.local/share/zorvik/zorvik.txt"},
        {{"/", "/"}, "/zorvik/zorvik.txt"},
        {{"/srv/data", "/h/p"}, ""},
        {{"relative/share", "relative"}, ""},
    };
    for (std::size_t i = 0; i < std::size(aPrograms); ++i) {
        SCOPED_TRACE(aPrograms[i].first);
        CFakeRuntime runtime;
        runtime.m_programPath = aPrograms[i].first;
        const auto& [data, own] = aDataFolders[i % std::size(aDataFolders)];
        runtime.m_userDataDir = data;
        const CScoreLogPlace place = ScoreLogPlaceOf(runtime);
        EXPECT_EQ(place.beside, aPrograms[i].second);
        EXPECT_EQ(place.own, own);
    }
}

// A full disk, a quota or a size limit lets only part of a record out. What did get out is
// taken off again: no torn tail is left to glue itself to the next record and credit a score
// that no game made; a log made for the record stays, empty, since another copy may have written
// to it by then. The record goes to the player's own log instead, whose scores count from then
// on; when that fails too, a second box says where and why. The game runs on past the limit,
// since the program ignores SIGXFSZ.
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
        EXPECT_TRUE(dir.LogExists());
        std::string record = WholeRecord(777, 2, 777);
        record.insert(std::strlen("Score: 777"), " Nieuw Record!");
        std::ifstream in(userLog, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bOldLog ? record : "");
        EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(nSeen, 0))),
                  c.bOldLog ? "1Score|" + record.substr(0, record.size() - 2)
                            : "2Score|De score kon niet worden bewaard.\n" + userLog.string() +
                                  ": File too large");

        // The next record that fits stands whole after the old ones and reads back as made. It
        // beats the 40 beside the program but not the 777 in the player's own log: no mark.
        game.view.m_nPieces = 100;
        game.view.ReportScore();
        EXPECT_EQ(dir.ReadLog(),
                  c.bOldLog ? oldLog + WholeRecord(100, 2, 100)
                            : "Score: 100 Nieuw Record!" + WholeRecord(100, 2, 100).substr(10));
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

// The names in a folder with their sizes, to prove that nothing was made or written there.
std::map<std::string, std::uintmax_t> Listing(const std::filesystem::path& dir) {
    std::map<std::string, std::uintmax_t> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        names[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
    }
    return names;
}

// Only a regular file is ever opened as the log: a folder, a pipe or a device of that name is
// refused before it is opened, since some act on being opened and a pipe could hold the game up.
// A symbolic link named zorvik.txt is never followed, to a log or anywhere else: whoever may
// rename names in the folder could otherwise steer the game's writes. Neither reading nor
// appending opens anything, and nothing is made or written.
TEST(ScoreLogFile, LogThatIsNoRegularFileIsNeverOpenedNorALinkFollowed) {
    const auto mkfifoAt = [](const std::filesystem::path& path) {
        return ::mkfifo(path.c_str(), 0600) == 0;
    };
    const auto linkTo = [](const char* pszTarget) {
        return [=](const CScoreLogDir& d) {
            std::ofstream(d.Dir() / "elsewhere" / "log.txt") << WholeRecord(60, 4);
            std::filesystem::create_symlink(pszTarget, d.LogPath());
            return true;
        };
    };
    const std::pair<const char*, std::function<bool(const CScoreLogDir&)>> aCases[] = {
        {"folder", [](const CScoreLogDir& d) { return ::mkdir(d.LogPath().c_str(), 0700) == 0; }},
        {"pipe", [&](const CScoreLogDir& d) { return mkfifoAt(d.LogPath()); }},
        // Making a device takes the superuser; where that is not at hand, the pipe stands in.
        {"device",
         [&](const CScoreLogDir& d) {
             return ::mknod(d.LogPath().c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0 ||
                    mkfifoAt(d.LogPath());
         }},
        {"link to a log", linkTo("elsewhere/log.txt")},
        {"link to a folder", linkTo("elsewhere")},
        {"dangling link", linkTo("elsewhere/new.txt")},
        {"link into a missing folder", linkTo("missing/new.txt")},
    };
    for (const auto& [pszName, fnMake] : aCases) {
        SCOPED_TRACE(pszName);
        CScoreLogDir dir;
        std::filesystem::create_directory(dir.Dir() / "elsewhere");
        ASSERT_TRUE(fnMake(dir));
        const auto before = Listing(dir.Dir());
        COpenWatch watch(dir.Dir());
        COpenWatch watchElsewhere(dir.Dir() / "elsewhere");
        EXPECT_EQ(ReadScoreLogFile(dir.LogPath(), Me()), (Best{}));
        EXPECT_NE(AppendToScoreLog(dir.LogPath(), Me(), WholeRecord(1, 1)), "");
        EXPECT_EQ(watch.Opened(), std::vector<std::string>{});
        EXPECT_EQ(watchElsewhere.Opened(), std::vector<std::string>{});
        EXPECT_EQ(Listing(dir.Dir()), before);
    }
}

// An append writes to the file it opened and to nothing else, however the names change after the
// open: a link put in the log's place is never looked up. Every copy takes the log's lock around
// its append, so while another holds it nothing is written, and a short write is cut back to the
// log's length after the other copy's record, never into it.
TEST(ScoreLogFile, AppendWritesTheFileItOpenedAndCutsBackNoOtherCopysRecord) {
    const std::string oldLog = WholeRecord(300, 1);
    const std::string otherRecord = WholeRecord(400, 2);
    const std::string ourRecord = WholeRecord(500, 3);
    for (const bool bFits : {true, false}) {
        SCOPED_TRACE(bFits);
        CScoreLogDir dir;
        dir.WriteLog(oldLog);
        const std::filesystem::path victim = dir.Dir() / "victim";
        std::ofstream(victim) << "not a log\n";
        const int fdOther = ::open(dir.LogPath().c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        ASSERT_EQ(::flock(fdOther, LOCK_EX), 0);
        COpenWatch watch(dir.Dir());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fdOther);  // else the child's copy would keep the other copy's lock
            std::signal(SIGXFSZ, SIG_IGN);
            const rlim_t nLimit = oldLog.size() + otherRecord.size() + (bFits ? 1000 : 20);
            const struct rlimit limit = {nLimit, nLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                ::_exit(2);
            }
            const std::string reason = AppendToScoreLog(dir.LogPath(), Me(), ourRecord);
            ::_exit(reason == (bFits ? "" : "File too large") ? 0 : 1);
        }
        // Once the child has opened the log, swap a link to the victim into its name, and append
        // another copy's record while the lock is still held.
        for (int i = 0; i < 500 && watch.Opened().empty(); ++i) {
            ::usleep(10000);
        }
        ::usleep(100000);
        EXPECT_EQ(dir.ReadLog(), oldLog) << "nothing is written while another copy holds the lock";
        std::filesystem::rename(dir.LogPath(), dir.Dir() / "moved.txt");
        std::filesystem::create_symlink(victim, dir.LogPath());
        ASSERT_EQ(::write(fdOther, otherRecord.data(), otherRecord.size()),
                  std::ssize(otherRecord));
        ::close(fdOther);
        int nStatus = 0;
        ASSERT_EQ(::waitpid(child, &nStatus, 0), child);
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << nStatus;
        std::ifstream moved(dir.Dir() / "moved.txt", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(moved), {}),
                  oldLog + otherRecord + (bFits ? ourRecord : ""));
        std::ifstream victimIn(victim, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victimIn), {}), "not a log\n");
    }
}

}  // namespace
