#include <gtest/gtest.h>

#include <filesystem>
#include <set>

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

TEST(StrFormat, FormatsLikePrintf) {
    EXPECT_EQ(StrFormat("Score: %d, Valtijd: %dms", 0, 1000), "Score: 0, Valtijd: 1000ms");
    EXPECT_EQ(StrFormat("Level %d: %5d\n", 3, 42), "Level 3:    42\n");
    EXPECT_EQ(StrFormat("%s", ""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(StrFormat("%s!", longText.c_str()), longText + "!");
}

}  // namespace
