// main() of the GUI suites: real widgets on Qt's offscreen platform, no display, no sound. A suite
// built with ZORVIK_TEST_ON_XVFB runs on Qt's xcb platform on a private Xvfb instead, and on
// offscreen where Xvfb is not installed (its X tests then skip).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#ifdef ZORVIK_TEST_ON_XVFB
#include "gui/runprocess.h"
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifdef ZORVIK_TEST_ON_XVFB
    // Listing the tests needs no server.
    std::unique_ptr<CXvfb> pXvfb;
    if (!GTEST_FLAG_GET(list_tests)) {
        pXvfb = std::make_unique<CXvfb>();
    }
    if (pXvfb && pXvfb->IsRunning()) {
        setenv("DISPLAY", pXvfb->Display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
#endif
    // Defaults only: a developer may still run a suite on a real display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_SCALE_FACTOR", "1", 0);
    setenv("CANBERRA_DRIVER", "none", 0);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        const std::string dir = (std::filesystem::temp_directory_path() /
                                 ("zorvik-gui-test-" + std::to_string(getuid())))
                                    .string();
        mkdir(dir.c_str(), 0700);
        chmod(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
