// Stand-in for the program's entry while the program folder does not build it yet.
#include "hw/app/Program.h"

int main(int argc, char** argv)
{
    return hw::runProgram(argc, argv);
}
