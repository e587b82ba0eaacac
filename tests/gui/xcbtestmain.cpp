// main() of the suite on a real X server: starts a private Xvfb and runs the widgets on Qt's
// xcb platform there; without Xvfb on the offscreen platform, where the X tests skip.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "runprocess.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
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
    // Listing the tests needs no server.
    std::unique_ptr<CXvfb> pXvfb;
    if (!GTEST_FLAG_GET(list_tests)) {
        pXvfb = std::make_unique<CXvfb>();
    }
    if (pXvfb && pXvfb->IsRunning()) {
        setenv("DISPLAY", pXvfb->Display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
