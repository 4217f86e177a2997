// Every seed and every input that once broke a fuzz target, run again through the target's
// body: in this build too (the sanitizer build among them), each must pass its checks.
#include "FuzzTargets.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Body = int (*)(const uint8_t*, size_t);

void replay(const char* name, Body body)
{
    hw::fuzz::setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    int inputs = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        QDirIterator it(QStringLiteral(HW_FUZZ_DIR "/%1/%2").arg(QLatin1String(folder), QLatin1String(name)),
                        QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(path.toStdString());
            body(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no seeds for " << name;
    hw::fuzz::setFailureHandler({});
}

} // namespace

TEST(FuzzReplay, IniFile)
{
    replay("ini", hw::fuzz::iniFile);
}
TEST(FuzzReplay, IntegerText)
{
    replay("integer", hw::fuzz::integerText);
}
TEST(FuzzReplay, ContentPath)
{
    replay("path", hw::fuzz::contentPath);
}
TEST(FuzzReplay, Bitmap)
{
    replay("bitmap", hw::fuzz::bitmap);
}
TEST(FuzzReplay, ClipDevice)
{
    replay("clip", hw::fuzz::clipDevice);
}
TEST(FuzzReplay, TextLayout)
{
    replay("text", hw::fuzz::textLayout);
}
TEST(FuzzReplay, LibraryCheck)
{
    replay("check", hw::fuzz::libraryCheck);
}
TEST(FuzzReplay, PageFile)
{
    replay("pages", hw::fuzz::pageFile);
}
