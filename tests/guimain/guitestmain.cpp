// main() of the GUI suites: real widgets on Qt's offscreen platform, no display, no sound.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
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
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
