#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/runtime.h"
#include "platform/strformat.h"

namespace {

// Two games started within the same second must get the same pieces.
TEST(SystemRuntime, TheSameSeedGivesTheSameNonNegativeSequence) {
    CSystemRuntime a;
    CSystemRuntime b;
    a.srand(1733600000);
    b.srand(1733600000);
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i) {
        const int n = a.rand();
        EXPECT_EQ(n, b.rand());
        EXPECT_GE(n, 0);
        EXPECT_LE(n, 32767);
        seen.insert(n % 17);
    }
    EXPECT_EQ(seen.size(), 17u) << "every piece index is reachable";
    b.srand(1733600001);
    a.srand(1733600000);
    EXPECT_NE(a.rand(), b.rand());
}

TEST(SystemRuntime, ProgramPathIsThisTestProgram) {
    CSystemRuntime runtime;
    const std::filesystem::path path = runtime.GetProgramPath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "test_model");
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_GT(runtime.time(), 1600000000);
}

// Sets an environment variable (or unsets it, for nullopt) for the length of a test.
class CScopedEnv {
public:
    CScopedEnv(const char* pszName, std::optional<std::string> value) : m_pszName(pszName) {
        if (const char* pszOld = std::getenv(pszName)) {
            m_old = pszOld;
        }
        Set(value);
    }
    ~CScopedEnv() { Set(m_old); }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_pszName, value->c_str(), 1);
        } else {
            ::unsetenv(m_pszName);
        }
    }
    const char* m_pszName;
    std::optional<std::string> m_old;
};

// The data folder follows the XDG base-directory rules: XDG_DATA_HOME only when it is absolute,
// else HOME/.local/share, and the password database's home folder when HOME is of no use. Its
// base, the folder that must stand already, is the home folder, or the one above an
// XDG_DATA_HOME outside it.
TEST(SystemRuntime, UserDataDirComesFromXdgDataHomeThenHomeThenThePasswordDatabase) {
    const passwd* pw = ::getpwuid(::getuid());
    ASSERT_NE(pw, nullptr);
    const std::string dbHome = pw->pw_dir;
    const std::string dbData = (dbHome == "/" ? "" : dbHome) + "/.local/share";
    struct Case {
        std::optional<std::string> dataHome;
        std::optional<std::string> home;
        std::string expected;
        std::string base;
    };
    const Case aCases[] = {
        {"/srv/data home", "/home/speler", "/srv/data home", "/srv"},
        // In the home folder, its missing folders are made from there, as for the default.
        {"/home/speler/.local/share/", "/home/speler", "/home/speler/.local/share", "/home/speler"},
        {"/home/speler/./x/../data", "/home/speler/", "/home/speler/data", "/home/speler"},
        {"/home/speler", "/home/speler", "/home/speler", "/home/speler"},
        {"/data//", "/home/speler", "/data", "/"},
        {"relative/data", "/home/speler", "/home/speler/.local/share", "/home/speler"},
        {"", "/home/speler/", "/home/speler/.local/share", "/home/speler"},
        {std::nullopt, "/", "/.local/share", "/"},
        {std::nullopt, std::nullopt, dbData, dbHome},
        {std::nullopt, "", dbData, dbHome},
        {std::nullopt, "relative/home", dbData, dbHome},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.dataHome.value_or("(unset)") + " / " + c.home.value_or("(unset)"));
        const CScopedEnv dataHome("XDG_DATA_HOME", c.dataHome);
        const CScopedEnv home("HOME", c.home);
        CSystemRuntime runtime;
        EXPECT_EQ(runtime.GetUserDataDir().path, c.expected);
        EXPECT_EQ(runtime.GetUserDataDir().base, c.base);
    }
}

TEST(StrFormat, FormatsLikePrintf) {
    EXPECT_EQ(StrFormat("Score: %d, Valtijd: %dms", 0, 1000), "Score: 0, Valtijd: 1000ms");
    EXPECT_EQ(StrFormat("Level %d: %5d\n", 3, 42), "Level 3:    42\n");
    EXPECT_EQ(StrFormat("%s", ""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(StrFormat("%s!", longText.c_str()), longText + "!");
}

}  // namespace
