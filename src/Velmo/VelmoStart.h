#pragma once

#include <functional>

class TForm1;

// The program start: the application, the main window over the directory of
// the program file, the three dialogs, the plan file named as the first
// argument if any; then the event loop. nachStart runs
// once the main window is shown (used by the start-up benchmark).
int VelmoMain(int argc, char *argv[], const std::function<void(TForm1 &)> &nachStart = {});
