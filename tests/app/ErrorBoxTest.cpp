// The framework's default error box: its caption, its text, and that the program goes on.
#include "hw/Exception.h"
#include "hw/app/Application.h"

#include <QCoreApplication>
#include <QEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

using namespace hw;

namespace {

struct ShownBox {
    QString caption;
    QString text;
};

class ErrorBoxes {
public:
    ErrorBoxes()
    {
        Application::setErrorBoxHook([this](const QString& caption, const QString& text) {
            shown.push_back({caption, text});
        });
    }
    ~ErrorBoxes() { Application::setErrorBoxHook({}); }
    std::vector<ShownBox> shown;
};

// An object whose handler for a posted event fails.
class Failing : public QObject {
public:
    explicit Failing(std::function<void()> fail)
        : fail_(std::move(fail))
    { }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            fail_();
            return true;
        }
        return QObject::event(e);
    }
    int handled = 0;

private:
    std::function<void()> fail_;
};

} // namespace

TEST(ErrorBox, CaptionIsTheProgramFileNameCutAtItsFirstFullStop)
{
    EXPECT_EQ(programTitle(QStringLiteral("/opt/hw/HACKLEWRIGHT.EXE")), QStringLiteral("Hacklewright"));
    EXPECT_EQ(programTitle(QStringLiteral("/opt/hw/Hacklewright.exe")), QStringLiteral("Hacklewright"));
    // The first letter is kept as it is; only the ones after it are lowered.
    EXPECT_EQ(programTitle(QStringLiteral("/usr/local/bin/hacklewright")), QStringLiteral("hacklewright"));
    EXPECT_EQ(programTitle(QStringLiteral("/x/FLY.TYING.TUTOR.EXE")), QStringLiteral("Fly"));
    EXPECT_EQ(programTitle(QStringLiteral("/x.y/HwTutor2")), QStringLiteral("Hwtutor2"));
    EXPECT_EQ(programTitle(QStringLiteral("/x/.hidden")), QString());
    EXPECT_EQ(programTitle(QStringLiteral("/x/A")), QStringLiteral("A"));
}

TEST(ErrorBox, AddsAFullStopOnlyAfterACharacterThatSortsAfterIt)
{
    EXPECT_EQ(errorBoxText(QStringLiteral("No MCI device open")), QStringLiteral("No MCI device open."));
    EXPECT_EQ(errorBoxText(QStringLiteral("'12abc' is not a valid integer value")),
              QStringLiteral("'12abc' is not a valid integer value."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Stream read error.")), QStringLiteral("Stream read error."));
    // Characters before "." in the character order take none: "!" "," ")" "-" and blanks.
    for (const char* message : {"Failed!", "a, b,", "(see above)", "x -", "trailing "})
        EXPECT_EQ(errorBoxText(QString::fromLatin1(message)), QString::fromLatin1(message)) << message;
    // Those after it do: "/", digits, ":", letters, quotes after letters, and beyond ASCII.
    for (const char* message : {"C:/", "error 42", "reason:", "file a.avi", "caf\xC3\xA9"}) {
        const QString text = QString::fromUtf8(message);
        EXPECT_EQ(errorBoxText(text), text + QLatin1Char('.')) << message;
    }
    EXPECT_EQ(errorBoxText(QString()), QString());
}

TEST(ErrorBox, AnErrorLeavingAHandlerIsShownAndTheProgramGoesOn)
{
    ErrorBoxes boxes;
    const QString title = programTitle(QCoreApplication::applicationFilePath());

    Failing own([] { throw EContentError(QStringLiteral("Bitmap image is not valid")); });
    Failing other([] { throw std::runtime_error("disk on fire"); });
    QCoreApplication::postEvent(&own, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&other, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&own, new QEvent(QEvent::User));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.shown.size(), size_t(3), 10000);
    EXPECT_EQ(own.handled, 2);
    EXPECT_EQ(other.handled, 1);
    EXPECT_EQ(boxes.shown[0].caption, title);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Bitmap image is not valid."));
    EXPECT_EQ(boxes.shown[1].text, QStringLiteral("disk on fire."));

    // A creation handler run through the same service reports and returns false.
    EXPECT_FALSE(runReportingErrors([] { throw Exception(QStringLiteral("cannot create")); }));
    EXPECT_TRUE(runReportingErrors([] {}));
    ASSERT_EQ(boxes.shown.size(), size_t(4));
    EXPECT_EQ(boxes.shown[3].text, QStringLiteral("cannot create."));
}
