// Making the application object, which opens the display.
#pragma once

#include <QApplication>
#include <memory>

// Makes the application object with Qt's messages held back meanwhile. When Qt starts, what it
// said about the platforms it tried before the one that started is dropped and the rest is passed
// on. When it can open no display, the program says so in one line, "zorvik: cannot open the
// display (...)" with Qt's reasons, and ends with status 1 instead of Qt's abort.
std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv);
