// The program's entry: the splash window first, as the application's main window, then
// the message loop until the tutor window asks the program to end. No argument, variable
// or setting of the program's own is read.
#include "hw/app/Program.h"

int main(int argc, char** argv)
{
    return hw::runProgram(argc, argv);
}
