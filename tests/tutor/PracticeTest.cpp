// The practice tools: looping a step, slower plays, the sound level, the video panel's
// menu and corner notes, the key sheet, captions and the practice view with its zoom.
#include "TutorTree.h"

#include "hw/media/PlayerInspection.h"
#include "hw/tutor/WindowKeys.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

#include <functional>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

// The badge's text, empty while it is hidden.
QString badge(TForm1& f)
{
    auto* note = f.findChild<QWidget*>(QStringLiteral("PracticeBadge"));
    return note && note->isVisible() ? note->accessibleName() : QString();
}

QWidget* soundNote(TForm1& f)
{
    return f.findChild<QWidget*>(QStringLiteral("SoundNote"));
}

// Waits until a play of first..last has started over at least once: frames only go back
// at a loop's seam. Every frame seen on the way must lie in the range.
bool waitForStartOver(TForm1& f, int first, int last)
{
    int previous = -1;
    return waitFor(
        [&] {
            const int shown = frameOnScreen(f).value_or(-1);
            if (shown < 0)
                return false;
            EXPECT_TRUE(shown >= first && shown <= last) << shown;
            const bool wentBack = shown < previous;
            previous = shown;
            return wentBack && showsStopFace(f) && f.MediaPlayer1->Mode() == TMPModes::mpPlaying;
        },
        30000);
}

bool waitUntilEnded(TForm1& f)
{
    return waitFor([&] { return showsPlayFace(f) && f.MediaPlayer1->Mode() != TMPModes::mpPlaying; });
}

QMenu* openPanelMenu(TForm1& f)
{
    // The event the window system sends on a right click.
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(160, 120),
                            f.VideoPanel->mapToGlobal(QPoint(160, 120)));
    QApplication::sendEvent(f.VideoPanel, &click);
    QMenu* menu = nullptr;
    EXPECT_TRUE(waitFor([&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu && menu->isVisible();
    }));
    return menu;
}

QAction* menuAction(QMenu* menu, const QString& name)
{
    for (QAction* action : menu->actions())
        if (action->text().section(QLatin1Char('\t'), 0, 0) == name)
            return action;
    ADD_FAILURE() << "no menu item " << name.toStdString();
    return nullptr;
}

// The first column of the README's key table.
QStringList readmeKeys()
{
    QFile readme(qEnvironmentVariable("HW_SOURCE_DIR") + QStringLiteral("/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("## Keys in the tutor window"));
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    QStringList keys;
    const QRegularExpression row(QStringLiteral("^\\| ([^|]+?) \\| [^|]+ \\|$"),
                                 QRegularExpression::MultilineOption);
    for (const auto& match : row.globalMatch(text.mid(start, end - start)))
        if (match.captured(1) != QStringLiteral("Key"))
            keys << match.captured(1);
    return keys;
}

QWidget* practiceView(TForm1& f)
{
    return f.findChild<QWidget*>(QStringLiteral("PracticeView"));
}

QString caption(TForm1& f)
{
    return PlayerInspection::displayedCaption(*f.MediaPlayer1);
}

bool waitForCaption(TForm1& f, const QString& text)
{
    return waitFor([&] { return caption(f) == text; });
}

// The view open, the device drawing into it at its own size in device pixels, and (unless
// the window system gives no window the keyboard) active, so that its keys reach it.
bool waitForViewOpen(TForm1& f, bool active = true)
{
    QWidget* view = practiceView(f);
    return waitFor([&] {
        const QSize shown = PlayerInspection::displayedPicture(*f.MediaPlayer1).size();
        const QSize room = view->size() * view->devicePixelRatioF();
        return view->isVisible() && (!active || QApplication::activeWindow() == view)
            && f.MediaPlayer1->Display() == view && view->size() == view->screen()->size()
            && shown.boundedTo(room) == shown
            && (shown.width() == room.width() || shown.height() == room.height());
    });
}

bool waitForViewClosed(TForm1& f, bool active = true)
{
    return waitFor([&] {
        return !practiceView(f)->isVisible() && f.MediaPlayer1->Display() == f.VideoPanel
            && (!active || QApplication::activeWindow() == &f);
    });
}

void wheel(QWidget* view, QPointF at, int notches)
{
    QWheelEvent event(at, view->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

void drag(QWidget* view, QPointF from, QPointF to)
{
    QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      {});
    QApplication::sendEvent(view, &press);
    QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::LeftButton, {}, {});
    QApplication::sendEvent(view, &release);
}

QString bandText(TForm1& f)
{
    return practiceView(f)->findChild<QWidget*>(QStringLiteral("PracticeBand"))->accessibleName();
}

} // namespace

TEST(TutorPractice, KeysSwitchLoopAndSpeedShownByTheBadge)
{
    TutorWindow w(rangeTree());
    TForm1& f = *w;
    openPattern(f, "Range");
    ASSERT_TRUE(waitForFrame(f, 100));
    // Off at start-up: nothing shown, the device at normal speed without repeat.
    EXPECT_EQ(badge(f), QString());
    EXPECT_EQ(f.MediaPlayer1->speed(), 1.0);
    EXPECT_FALSE(f.MediaPlayer1->repeat());

    const QString half = QString::fromUtf8("\u00BD\u00D7");
    const QString quarter = QString::fromUtf8("\u00BC\u00D7");
    const struct {
        Qt::Key key;
        QString badge;
        double speed;
    } steps[] = {
        {Qt::Key_L, QStringLiteral("Loop"), 1.0},
        {Qt::Key_S, QStringLiteral("Loop ") + half, 0.5},
        {Qt::Key_S, QStringLiteral("Loop ") + quarter, 0.25},
        {Qt::Key_S, QStringLiteral("Loop"), 1.0},
        {Qt::Key_L, QString(), 1.0},
        {Qt::Key_BracketRight, QString(), 1.0},
        {Qt::Key_BracketLeft, half, 0.5},
        {Qt::Key_BracketLeft, quarter, 0.25},
        {Qt::Key_BracketLeft, quarter, 0.25},
        {Qt::Key_BracketRight, half, 0.5},
        {Qt::Key_BracketRight, QString(), 1.0},
    };
    for (const auto& step : steps) {
        press(f, step.key);
        EXPECT_EQ(badge(f), step.badge) << QKeySequence(step.key).toString().toStdString();
        EXPECT_EQ(f.MediaPlayer1->speed(), step.speed);
    }

    // The badge and the sound note lie beside the picture and cover no control.
    press(f, Qt::Key_L);
    press(f, Qt::Key_M);
    for (const char* name : {"PracticeBadge", "SoundNote"}) {
        const QWidget* note = f.findChild<QWidget*>(QLatin1String(name));
        ASSERT_TRUE(note && note->isVisible()) << name;
        EXPECT_TRUE(f.rect().contains(note->geometry())) << name;
        for (const QWidget* control : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isVisible() && control != note && control != f.BackgroundImage) {
                EXPECT_FALSE(control->geometry().intersects(note->geometry()))
                    << name << " covers " << control->objectName().toStdString();
            }
        }
    }
    press(f, Qt::Key_M);
    press(f, Qt::Key_L);

    // A speed chosen during a play takes over from the frame on screen: the play goes on,
    // it does not start again.
    click(f.PlayStopButton);
    ASSERT_TRUE(waitFor([&] { return frameOnScreen(f).value_or(-1) >= 105; }));
    press(f, Qt::Key_BracketLeft);
    const int shownAtChange = frameOnScreen(f).value_or(-1);
    EXPECT_TRUE(waitFor([&] {
        const int shown = frameOnScreen(f).value_or(-1);
        EXPECT_GE(shown, shownAtChange);
        return shown >= shownAtChange + 3;
    }));
    EXPECT_TRUE(showsStopFace(f));
    EXPECT_EQ(f.MediaPlayer1->speed(), 0.5);
    click(f.PlayStopButton);
    EXPECT_TRUE(waitUntilEnded(f));
    press(f, Qt::Key_BracketRight);

    // In the hand field the keys work until the user types; then they are text.
    QLineEdit* field = f.RightLeftComboBox->lineEdit();
    field->setFocus();
    press(f, Qt::Key_L);
    EXPECT_EQ(badge(f), QStringLiteral("Loop"));
    press(f, Qt::Key_L);
    field->selectAll();
    for (Qt::Key key : {Qt::Key_T, Qt::Key_L, Qt::Key_S, Qt::Key_M, Qt::Key_BracketLeft, Qt::Key_Minus})
        press(f, key);
    EXPECT_EQ(field->text(), QStringLiteral("tlsm[-"));
    EXPECT_EQ(badge(f), QString());
    EXPECT_FALSE(f.MediaPlayer1->muted());
    EXPECT_EQ(f.MediaPlayer1->volume(), 100);
}

TEST(TutorPractice, ALoopRepeatsTheStepUntilATransportOrNavigationCommandEndsIt)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.TechniquesButton);
    ASSERT_TRUE(waitForFrame(f, 0));
    press(f, Qt::Key_L);

    // Each of these ends a looping play as it ends any play: stopped, with the Play face.
    const std::vector<std::pair<const char*, std::function<void()>>> endings = {
        {"Stop", [&] { click(f.PlayStopButton); }},
        {"Rewind", [&] { click(f.RewindButton); }},
        {"Step forward", [&] { click(f.StepForwardButton); }},
        {"Step back", [&] { click(f.StepBackButton); }},
        {"Next", [&] { click(f.NextButton); }},
        {"Previous", [&] { click(f.PreviousButton); }},
        {"Another topic", [&] { clickTopic(f, 1 - f.TopicsListBox->ItemIndex()); }},
        {"Another section", [&] { click(f.QuickTourButton); }},
        {"Patterns", [&] { click(f.PatternsButton); }},
    };
    for (const auto& [name, end] : endings) {
        SCOPED_TRACE(name);
        if (!f.TopicsListBox->isVisible()) {
            click(f.TechniquesButton);
            ASSERT_TRUE(waitForFrame(f, 0));
        }
        const tTopicRecord* topic = f.currentTopic();
        click(f.PlayStopButton);
        ASSERT_TRUE(waitForStartOver(f, topic->startFrame, topic->stopFrame));
        end();
        EXPECT_TRUE(waitUntilEnded(f));
    }
    // The loop itself stays on for the next play.
    click(f.QuickTourButton);
    EXPECT_EQ(badge(f), QStringLiteral("Loop"));
    // It goes with the video panel and comes back with it.
    click(f.PatternsButton);
    EXPECT_EQ(badge(f), QString());
    click(f.TechniquesButton);
    EXPECT_EQ(badge(f), QStringLiteral("Loop"));
}

TEST(TutorPractice, LoopSwitchedDuringAPlayAndAHandChangeWhileLooping)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));

    // Switched on during a play (a slow one, to leave time for the key): the step plays to
    // its end and starts over, repeating.
    press(f, Qt::Key_BracketLeft);
    press(f, Qt::Key_BracketLeft);
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    press(f, Qt::Key_L);
    ASSERT_TRUE(waitForStartOver(f, 0, 14));
    EXPECT_TRUE(f.MediaPlayer1->repeat());

    // A hand change loops on over the same step in the other hand (45..58).
    chooseHandFromList(f, 1);
    ASSERT_TRUE(waitFor([&] { return frameOnScreen(f).value_or(-1) >= 45; }));
    ASSERT_TRUE(waitForStartOver(f, 45, 58));

    // Switched off: the round plays out to the step's end and stops there.
    press(f, Qt::Key_L);
    ASSERT_TRUE(waitUntilEnded(f));
    EXPECT_EQ(frameOnScreen(f), 58);
    EXPECT_EQ(f.MediaPlayer1->Position(), 58);
}

TEST(TutorPractice, PanelMenuOffersTheChoicesWithTheirKeys)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    ASSERT_TRUE(waitForFrame(f, 0));

    QMenu* menu = openPanelMenu(f);
    ASSERT_TRUE(menu);
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text().section(QLatin1Char('\t'), 0, 0) + QLatin1Char('=')
                    + (action->shortcut().isEmpty() ? action->text().section(QLatin1Char('\t'), 1)
                                                    : action->shortcut().toString());
    EXPECT_EQ(items,
              (QStringList{QStringLiteral("Loop this step=L"), QStringLiteral("Normal speed=S"),
                           QStringLiteral("Half speed=S"), QStringLiteral("Quarter speed=S"),
                           QStringLiteral("Mute=M"), QStringLiteral("Captions=C"),
                           QStringLiteral("Listen for spoken commands=V"), QStringLiteral("Practice view=F"),
                           QStringLiteral("Keys=F1")}));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu);
    ASSERT_TRUE(accessible && accessible->childCount() > 0);
    EXPECT_EQ(accessible->child(0)->text(QAccessible::Name), QStringLiteral("Loop this step"));

    // Chosen with the mouse, as from the keys.
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(menuAction(menu, QStringLiteral("Quarter speed"))).center());
    EXPECT_TRUE(waitFor([&] { return !menu->isVisible(); }));
    EXPECT_EQ(badge(f), QString::fromUtf8("\u00BC\u00D7"));
    EXPECT_EQ(f.MediaPlayer1->speed(), 0.25);

    menu = openPanelMenu(f);
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menuAction(menu, QStringLiteral("Quarter speed"))->isChecked());
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(menuAction(menu, QStringLiteral("Loop this step"))).center());
    EXPECT_TRUE(waitFor([&] { return !menu->isVisible(); }));
    EXPECT_EQ(badge(f), QStringLiteral("Loop ") + QString::fromUtf8("\u00BC\u00D7"));
    press(f, Qt::Key_S);
    EXPECT_EQ(badge(f), QStringLiteral("Loop"));

    // The loop's play runs at the speed chosen and starts over.
    press(f, Qt::Key_S);
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForStartOver(f, 0, 9));
    EXPECT_EQ(f.MediaPlayer1->speed(), 0.5);
    click(f.PlayStopButton);
    EXPECT_TRUE(waitUntilEnded(f));
}

TEST(TutorPractice, KeySheetListsEveryKeyAndClosesOnAnyKeyOrClick)
{
    // The README's key table and the sheet list the same keys.
    QStringList sheetKeys;
    for (const KeyHelp& key : windowKeys())
        sheetKeys << key.keys;
    EXPECT_EQ(readmeKeys().join(u'\n').toStdString(), sheetKeys.join(u'\n').toStdString());

    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    const auto sheet = [] { return QApplication::activePopupWidget(); };
    for (Qt::Key opener : {Qt::Key_F1, Qt::Key_Question}) {
        press(f, opener);
        ASSERT_TRUE(waitFor([&] { return sheet() && sheet()->isVisible(); }));
        EXPECT_EQ(sheet()->objectName(), QStringLiteral("KeySheet"));
        const QString text = sheet()->findChild<QLabel*>()->text();
        for (const KeyHelp& key : windowKeys())
            EXPECT_TRUE(text.contains(key.keys.toHtmlEscaped())) << key.keys.toStdString();
        // Within the window.
        EXPECT_TRUE(QRect(f.mapToGlobal(QPoint(0, 0)), f.size())
                        .contains(QRect(sheet()->mapToGlobal(QPoint(0, 0)), sheet()->size())));
        QWidget* open = sheet();
        if (opener == Qt::Key_F1)
            QTest::keyClick(open, Qt::Key_L);
        else
            QTest::mouseClick(open, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_TRUE(waitFor([&] { return !open->isVisible(); }));
        // The key that closed it did nothing else.
        EXPECT_EQ(badge(f), QString());
    }
}

TEST(TutorPractice, SoundLevelKeysShowANoteAndAreKeptBetweenRuns)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    const auto store = [&] { return std::make_shared<QSettings>(file, QSettings::IniFormat); };
    {
        TutorWindow w(standardTree(), {}, store());
        TForm1& f = *w;
        click(f.QuickTourButton);
        EXPECT_EQ(f.MediaPlayer1->volume(), 100);
        EXPECT_FALSE(f.MediaPlayer1->muted());
        const struct {
            Qt::Key key;
            const char* note;
            int volume;
            bool muted;
        } steps[] = {
            {Qt::Key_M, "Muted", 100, true},
            {Qt::Key_M, "Volume 100 %", 100, false},
            {Qt::Key_Plus, "Volume 100 %", 100, false},
            {Qt::Key_Minus, "Volume 90 %", 90, false},
            {Qt::Key_Minus, "Volume 80 %", 80, false},
            {Qt::Key_M, "Muted", 80, true},
        };
        for (const auto& step : steps) {
            press(f, step.key);
            EXPECT_TRUE(soundNote(f)->isVisible());
            EXPECT_EQ(soundNote(f)->accessibleName(), QString::fromLatin1(step.note));
            EXPECT_EQ(f.MediaPlayer1->volume(), step.volume);
            EXPECT_EQ(f.MediaPlayer1->muted(), step.muted);
        }
        // The note goes by itself.
        EXPECT_TRUE(waitFor([&] { return !soundNote(f)->isVisible(); }));
        press(f, Qt::Key_L);
        press(f, Qt::Key_S);
    }
    {
        // The next run starts with the sound level kept, and loop and speed off.
        TutorWindow w(standardTree(), {}, store());
        EXPECT_EQ(w->MediaPlayer1->volume(), 80);
        EXPECT_TRUE(w->MediaPlayer1->muted());
        EXPECT_EQ(w->MediaPlayer1->speed(), 1.0);
        EXPECT_FALSE(soundNote(*w)->isVisible());
    }
    {
        // A damaged store gives the defaults.
        QSettings damaged(file, QSettings::IniFormat);
        damaged.setValue(QStringLiteral("Sound/Volume"), QStringLiteral("loud"));
        damaged.setValue(QStringLiteral("Sound/Muted"), QStringLiteral("no")); // not what Qt writes
        damaged.sync();
        TutorWindow w(standardTree(), {}, store());
        EXPECT_EQ(w->MediaPlayer1->volume(), 100);
        EXPECT_FALSE(w->MediaPlayer1->muted());
    }
}

TEST(TutorPractice, CaptionsAtAStoppedFrameFollowCAndAreKeptBetweenRuns)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    const auto store = [&] { return std::make_shared<QSettings>(file, QSettings::IniFormat); };
    {
        TutorWindow w(captionTree(), {}, store());
        TForm1& f = *w;
        click(f.QuickTourButton);
        ASSERT_TRUE(waitForFrame(f, 0));
        // On by default where the clip has a caption file, found whatever its case; the
        // file's markup is not shown.
        EXPECT_TRUE(f.MediaPlayer1->hasCaptions());
        EXPECT_TRUE(waitForCaption(f, QStringLiteral("Welcome to the\ntutor")));
        clickTopic(f, 1);
        ASSERT_TRUE(waitForFrame(f, 10));
        EXPECT_EQ(caption(f), QString());
        clickTopic(f, 2);
        ASSERT_TRUE(waitForFrame(f, 20));
        EXPECT_TRUE(waitForCaption(f, QStringLiteral("Printing a recipe")));
        // Drawn over the picture, clear of the frame stamp at its foot.
        const QImage captioned = f.VideoPanel->grab().toImage();
        EXPECT_EQ(frameOnScreen(f), 20);
        press(f, Qt::Key_C);
        EXPECT_EQ(caption(f), QString());
        EXPECT_EQ(soundNote(f)->accessibleName(), QStringLiteral("Captions off"));
        EXPECT_TRUE(waitFor([&] { return f.VideoPanel->grab().toImage() != captioned; }));

        // WebVTT; a cue that runs on past the clip's end is read all the same.
        press(f, Qt::Key_C);
        click(f.TechniquesButton);
        ASSERT_TRUE(waitForFrame(f, 0));
        EXPECT_TRUE(waitForCaption(f, QStringLiteral("Whip finish: four turns")));
        clickTopic(f, 1);
        ASSERT_TRUE(waitForFrame(f, 24));
        EXPECT_EQ(caption(f), QString());
        press(f, Qt::Key_Right);
        ASSERT_TRUE(waitForFrame(f, 25));
        EXPECT_TRUE(waitForCaption(f, QStringLiteral("Past the end of the clip")));

        // A caption file that cannot be read leaves the lesson without captions; it plays.
        openPattern(f, "Adams");
        ASSERT_TRUE(waitForFrame(f, 0));
        EXPECT_FALSE(f.MediaPlayer1->hasCaptions());
        EXPECT_EQ(playToEnd(f).back(), 14);
        press(f, Qt::Key_C);
    }
    {
        // Switched off, they stay off in the next run.
        TutorWindow w(captionTree(), {}, store());
        TForm1& f = *w;
        click(f.QuickTourButton);
        ASSERT_TRUE(waitForFrame(f, 0));
        EXPECT_FALSE(f.MediaPlayer1->captionsShown());
        EXPECT_EQ(caption(f), QString());
    }
}

TEST(TutorPractice, PracticeViewOpensAndClosesEveryWayKeepingFrameAndPlay)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    press(f, Qt::Key_Right);
    ASSERT_TRUE(waitForFrame(f, 1));
    const QImage panelBefore = f.VideoPanel->grab().toImage();
    QWidget* view = practiceView(f);

    const std::vector<std::pair<const char*, std::function<void()>>> openers = {
        {"F", [&] { press(f, Qt::Key_F); }},
        {"double-click", [&] { QTest::mouseDClick(f.VideoPanel, Qt::LeftButton, {}, QPoint(160, 120)); }},
        {"menu",
         [&] {
             QMenu* menu = openPanelMenu(f);
             ASSERT_TRUE(menu);
             menuAction(menu, QStringLiteral("Practice view"))->trigger();
             menu->close();
         }},
    };
    const std::vector<std::pair<const char*, std::function<void()>>> closers = {
        {"Esc", [&] { QTest::keyClick(view, Qt::Key_Escape); }},
        {"F", [&] { QTest::keyClick(view, Qt::Key_F); }},
        {"double-click", [&] { QTest::mouseDClick(view, Qt::LeftButton, {}, view->rect().center()); }},
    };
    for (size_t i = 0; i < openers.size(); ++i) {
        SCOPED_TRACE(std::string(openers[i].first) + " then " + closers[i].first);
        openers[i].second();
        // Over the whole screen, the picture scaled from the decoded frame to its size.
        ASSERT_TRUE(waitForViewOpen(f));
        EXPECT_EQ(view->geometry(), f.screen()->geometry());
        EXPECT_EQ(PlayerInspection::displayedFrame(*f.MediaPlayer1), 1);
        closers[i].second();
        ASSERT_TRUE(waitForViewClosed(f));
        // The window as it was.
        ASSERT_TRUE(waitForFrame(f, 1));
        EXPECT_TRUE(waitFor([&] { return f.VideoPanel->grab().toImage() == panelBefore; }));
    }

    // The window's keys work in the view; the band tells the step and the badges.
    press(f, Qt::Key_F);
    ASSERT_TRUE(waitForViewOpen(f));
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(*f.MediaPlayer1) == 2; }));
    QTest::keyClick(view, Qt::Key_L);
    QTest::keyClick(view, Qt::Key_M);
    EXPECT_TRUE(waitFor([&] { return bandText(f) == QStringLiteral("Tail | Step 1 of 3 | Loop Muted"); }))
        << bandText(f).toStdString();
    QTest::keyClick(view, Qt::Key_M);
    QTest::keyClick(view, Qt::Key_L);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_TRUE(waitFor([&] { return bandText(f) == QStringLiteral("Body | Step 2 of 3"); }))
        << bandText(f).toStdString();
    // The band fades when the mouse rests and comes back when it moves.
    QWidget* band = view->findChild<QWidget*>(QStringLiteral("PracticeBand"));
    EXPECT_TRUE(waitFor([&] { return !band->isVisible(); }));
    QTest::mouseMove(view, QPoint(40, 40));
    EXPECT_TRUE(waitFor([&] { return band->isVisible(); }));

    // A play goes on across the view, both ways.
    QTest::keyClick(view, Qt::Key_Space);
    ASSERT_TRUE(waitForPlaying(f));
    QTest::keyClick(view, Qt::Key_Escape);
    ASSERT_TRUE(waitForViewClosed(f));
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpPlaying);
    EXPECT_TRUE(showsStopFace(f));
    press(f, Qt::Key_F);
    ASSERT_TRUE(waitForViewOpen(f));
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpPlaying);
    QTest::keyClick(view, Qt::Key_F);
    ASSERT_TRUE(waitForViewClosed(f));
    EXPECT_TRUE(waitForPlayFace(f));
    EXPECT_EQ(frameOnScreen(f), 29);

    // F and C are never a list's type-ahead.
    f.TopicsListBox->setFocus();
    const int topic = f.TopicsListBox->ItemIndex();
    press(f, Qt::Key_C);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), topic);
    press(f, Qt::Key_F);
    ASSERT_TRUE(waitForViewOpen(f));
    QTest::keyClick(view, Qt::Key_Escape);
    ASSERT_TRUE(waitForViewClosed(f));
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), topic);
}

TEST(TutorPractice, PracticeViewZoomsAboutThePointerWithinLimitsUntilANewStep)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    press(f, Qt::Key_F);
    ASSERT_TRUE(waitForViewOpen(f));
    QWidget* view = practiceView(f);
    const QRectF place = f.MediaPlayer1->picturePlace();
    ASSERT_FALSE(place.isEmpty());
    const auto zoom = [&] { return f.MediaPlayer1->pictureZoom(); };

    // About the pointer: the point under it stays there.
    const QPointF at = place.topLeft() + QPointF(place.width() * 0.3, place.height() * 0.6);
    wheel(view, at, 1);
    EXPECT_DOUBLE_EQ(zoom().m11(), 1.25);
    EXPECT_NEAR(QLineF(zoom().map(at), at).length(), 0, 1e-6);
    wheel(view, at, 20);
    EXPECT_DOUBLE_EQ(zoom().m11(), 4.0);
    wheel(view, at, -40);
    EXPECT_TRUE(zoom().isIdentity());

    // A drag pans no further than the picture's edge, whichever way.
    wheel(view, at, 3);
    const double factor = zoom().m11();
    for (const QPointF& by : {QPointF(5000, 5000), QPointF(-5000, -5000)}) {
        drag(view, place.center(), place.center() + by);
        const QRectF zoomed = zoom().mapRect(place);
        EXPECT_TRUE(zoomed.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(place));
        EXPECT_NEAR(by.x() > 0 ? zoomed.left() : zoomed.right(), by.x() > 0 ? place.left() : place.right(),
                    1e-6);
    }
    QTest::keyClick(view, Qt::Key_0);
    EXPECT_TRUE(zoom().isIdentity());

    // It stays while the step plays and goes with a new step, and the window never sees it.
    wheel(view, at, 2);
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(*f.MediaPlayer1) >= 5; }));
    EXPECT_DOUBLE_EQ(zoom().m11(), 1.5625);
    EXPECT_NE(factor, 1.0);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_TRUE(waitFor([&] { return zoom().isIdentity(); }));
    wheel(view, at, 2);
    QTest::keyClick(view, Qt::Key_Escape);
    ASSERT_TRUE(waitForViewClosed(f));
    EXPECT_TRUE(zoom().isIdentity());
}

// Also run on Wayland at a pixel ratio of 2 (run-on-weston.sh). A headless compositor gives no
// window the keyboard: only the mouse is used.
TEST(TutorPractice, PracticeViewShowsThePictureAtTheScreensResolution)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    QWidget* view = practiceView(f);
    QTest::mouseDClick(f.VideoPanel, Qt::LeftButton, {}, QPoint(160, 120));
    ASSERT_TRUE(waitForViewOpen(f, false))
        << view->size().width() << "x" << view->size().height() << " ratio " << view->devicePixelRatioF();
    EXPECT_TRUE(view->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(view->screen(), f.screen());
    EXPECT_EQ(PlayerInspection::displayedFrame(*f.MediaPlayer1), 0);
    QTest::mouseDClick(view, Qt::LeftButton, {}, view->rect().center());
    ASSERT_TRUE(waitForViewClosed(f, false));
    EXPECT_TRUE(waitForFrame(f, 0));
    // The panel's picture at the panel's size again.
    EXPECT_TRUE(waitFor([&] {
        return PlayerInspection::displayedPicture(*f.MediaPlayer1).height()
            == qRound(f.VideoPanel->height() * f.VideoPanel->devicePixelRatioF());
    }));
}
