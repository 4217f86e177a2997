#pragma once
// The whole program: the application object, the splash window created first as its main
// window, and the message loop until the tutor window asks the program to end.

namespace hw {

// Reads nothing of argc/argv itself (the toolkit takes its own options from them).
// Returns the program's exit code, 0.
int runProgram(int& argc, char** argv);

} // namespace hw
