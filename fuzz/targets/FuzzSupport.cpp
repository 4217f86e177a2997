#include "FuzzTargets.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace hw::fuzz {
namespace {

FailureHandler& handler()
{
    static FailureHandler h;
    return h;
}

} // namespace

void initialize()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // FFmpeg and Qt talk on stderr about damaged input; the fuzzer's own output is what
    // matters.
    qputenv("QT_LOGGING_RULES", "*.debug=false;qt.*=false");
    static int argc = 1;
    static char name[] = "hw-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void setFailureHandler(FailureHandler h)
{
    handler() = std::move(h);
}

void fail(const std::string& what)
{
    if (handler()) {
        handler()(what);
        return;
    }
    std::fprintf(stderr, "hw-fuzz: property broken: %s\n", what.c_str());
    std::abort();
}

} // namespace hw::fuzz
