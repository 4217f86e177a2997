#include "hw/app/TApplication.h"

#include <gtest/gtest.h>

// Every test binary runs inside the program's own application object, so that an error
// leaving an event handler is reported (through the error-box hook in tests) instead of
// unwinding through Qt.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    hw::TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
