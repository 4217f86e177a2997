// Every seed and every input that once broke a fuzz target, run again through the target's
// body: in this build too (the sanitizer build among them), each must pass its checks.
#include "FuzzTargets.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Body = int (*)(const uint8_t*, size_t);

struct Target {
    const char* test;   // the test's name
    const char* folder; // the target's folder under corpus/ and regressions/
    Body body;
};

class FuzzReplay : public ::testing::TestWithParam<Target> { };

} // namespace

TEST_P(FuzzReplay, EveryInputPassesTheTargetsChecks)
{
    const Target& target = GetParam();
    hw::fuzz::setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    int inputs = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        QDirIterator it(
            QStringLiteral(HW_FUZZ_DIR "/%1/%2").arg(QLatin1String(folder), QLatin1String(target.folder)),
            QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(path.toStdString());
            target.body(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no seeds for " << target.folder;
    hw::fuzz::setFailureHandler({});
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay,
                         ::testing::Values(Target{"IniFile", "ini", hw::fuzz::iniFile},
                                           Target{"IntegerText", "integer", hw::fuzz::integerText},
                                           Target{"ContentPath", "path", hw::fuzz::contentPath},
                                           Target{"Bitmap", "bitmap", hw::fuzz::bitmap},
                                           Target{"ClipDevice", "clip", hw::fuzz::clipDevice},
                                           Target{"TextLayout", "text", hw::fuzz::textLayout},
                                           Target{"LibraryCheck", "check", hw::fuzz::libraryCheck},
                                           Target{"PageFile", "pages", hw::fuzz::pageFile}),
                         [](const ::testing::TestParamInfo<Target>& target) {
                             return std::string(target.param.test);
                         });
