// Making the application object, which opens the display.
#pragma once

#include <QApplication>
#include <memory>

// Qt's messages pass on as Qt gives them, but for its words on the platforms it could not open:
// dropped once one opens, else the one line "zorvik: cannot open the display (...)" and status 1.
std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv);
