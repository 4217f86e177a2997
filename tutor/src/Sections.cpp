// Sections and topic navigation: composing the screens, filling the lists, opening each
// section's video and showing a topic's first frame.
#include "FrameMath.h"
#include "PanelNote.h"
#include "PicturePainting.h"
#include "PracticeTools.h"
#include "hw/AnsiText.h"
#include "hw/ContentPath.h"
#include "hw/tutor/TForm1.h"
#include "hw/tutor/THiddenControlsForm.h"

#include <QScopeGuard>

#include <utility>

namespace hw {

void TForm1::setStartAndEndPos(int32_t Start, int32_t Stop)
{
    // The hand is read afresh for each end: a handler run while events were processed
    // may have changed it.
    MediaPlayer1->setStartPos(handedStart(Start, handedness(), currentOffset_));
    MediaPlayer1->setEndPos(handedStop(Stop, handedness(), currentOffset_));
}

void TForm1::AdvanceToFrame(int32_t Frame)
{
    const int32_t start = MediaPlayer1->StartPos();
    const int32_t end = MediaPlayer1->EndPos();
    MediaPlayer1->setStartPos(Frame);
    MediaPlayer1->setEndPos(Frame);
    MediaPlayer1->setNotify(false);
    processPendingEvents();
    // A one-frame play shows the frame without waiting and without a notice (and never
    // repeats).
    practice_->prepareDevice(false);
    MediaPlayer1->Play();
    // Pending again, so that the next Play runs the whole topic.
    MediaPlayer1->setStartPos(start);
    MediaPlayer1->setEndPos(end);
}

void TForm1::StopVideo()
{
    if (MediaPlayer1->Mode() != TMPModes::mpPlaying)
        return;
    MediaPlayer1->setWait(false);
    MediaPlayer1->setNotify(false);
    processPendingEvents();
    MediaPlayer1->Stop();
    setPlayFace();
}

void TForm1::keepFocusOnScreen(QWidget* focusBefore, QWidget* successor)
{
    // A keyboard user whose control has just been hidden carries on in the control that
    // took its place, not in whatever comes next in the tab order.
    if (focusBefore && focusBefore->isHidden() && successor->isVisible())
        successor->setFocus(Qt::OtherFocusReason);
}

void TForm1::closeClip()
{
    // A section without topics shows no clip: nothing of the previous one stays playable.
    currentSectionList_ = nullptr;
    currentTopic_ = nullptr;
    currentOffset_ = 0;
    MediaPlayer1->Close();
    showLessonTitle();
}

void TForm1::showLessonTitle()
{
    // Only a pattern lesson names its pattern: the sections' videos are about the tutor.
    const bool patternLesson = currentFly_ && currentTopic_ && currentSectionList_ == currentFly_->topics;
    if (!patternLesson) {
        lessonTitle_->setText({});
        return;
    }
    int step = 1;
    for (const tTopicRecord* t = currentSectionList_; t && t != currentTopic_; t = t->next)
        ++step;
    lessonTitle_->setText(
        QStringLiteral("%1  \u2014  %2. %3  \u2014  %4")
            .arg(ansiToQString(currentFly_->displayName))
            .arg(step)
            .arg(ansiToQString(currentTopic_->title),
                 handedness() == 0 ? QStringLiteral("Right hand") : QStringLiteral("Left hand")));
}

void TForm1::navigate(std::function<void()> choice)
{
    // Choosing a section, a pattern or a topic lets pending events run in its middle. A
    // choice made meanwhile (a held arrow key, or a click queued while the window was busy)
    // waits for the running one, then the latest of them is made. Run inside, it would leave
    // the lists, the pending range and the current topic at different places.
    if (navigating_) {
        choiceMeanwhile_ = std::move(choice);
        return;
    }
    navigating_ = true;
    const auto done = qScopeGuard([this] {
        navigating_ = false;
        choiceMeanwhile_ = nullptr;
    });
    while (choice) {
        choiceMeanwhile_ = nullptr;
        choice();
        choice = std::exchange(choiceMeanwhile_, nullptr);
    }
}

void TForm1::QuickTourButtonClick()
{
    navigate([this] { openSection(Section::QuickTour); });
}

void TForm1::TechniquesButtonClick()
{
    navigate([this] { openSection(Section::Techniques); });
}

void TForm1::openSection(Section section)
{
    const bool quickTour = section == Section::QuickTour;
    THiddenControlsForm* store = HiddenControlsForm;
    QWidget* const focusBefore = focusWidget();

    StopVideo();
    QuickTourButton->setFace(
        (quickTour ? store->QuickTourButtonDownImage : store->QuickTourButtonImage)->Picture());
    PatternsButton->setFace(store->PatternsButtonImage->Picture());
    TechniquesButton->setFace(
        (quickTour ? store->TechniquesButtonImage : store->TechniquesButtonDownImage)->Picture());
    QuickTourButton->setChecked(quickTour);
    PatternsButton->setChecked(false);
    TechniquesButton->setChecked(!quickTour);
    ShowExtendedVideoControls(!quickTour);
    ShowPatternSelectionInterface(false);
    ShowPrimaryInterface(true);
    PrintRecipeButton->setVisible(false);
    RightLeftComboBox->setVisible(false);
    keepFocusOnScreen(focusBefore, TopicsListBox);
    LogoImage->setPicture((quickTour ? store->QuickTourImage : store->TechniquesImage)->Picture());

    TopicsListBox->clear();
    MaterialsAndInstructionsListBox->clear();
    if (quickTour) {
        MaterialsAndInstructionsListBox->addBytes("Click on a quick tour topic below.");
        MaterialsAndInstructionsListBox->addBytes("Click Play to view the selected topic.");
    } else {
        MaterialsAndInstructionsListBox->addBytes("Click on a technique below.");
        MaterialsAndInstructionsListBox->addBytes("Click Play to view the selected technique.");
    }

    tTopicRecord* list = quickTour ? catalogue_.quickTourList() : catalogue_.techniquesList();
    for (tTopicRecord* topic = list; topic; topic = topic->next)
        TopicsListBox->addBytes(topic->title);
    TopicsListBox->setItemIndex(0);

    if (!list) {
        closeClip();
        return;
    }

    MediaPlayer1->setFileName(clipFileName(quickTour ? QStringLiteral("QuickTour\\QuickTour.avi")
                                                     : QStringLiteral("Techniques\\Techniques.avi")));
    processPendingEvents();
    MediaPlayer1->Open();
    MediaPlayer1->setWait(false);

    currentOffset_ = list->offset;
    setStartAndEndPos(list->startFrame, list->stopFrame);
    currentSectionList_ = list;
    currentTopic_ = list;
    currentOffset_ = list->offset;
    AdvanceToFrame(MediaPlayer1->StartPos());
    showLessonTitle();
}

void TForm1::PatternsButtonClick()
{
    navigate([this] { showGallery(); });
}

void TForm1::showGallery()
{
    THiddenControlsForm* store = HiddenControlsForm;
    QWidget* const focusBefore = focusWidget();
    StopVideo();
    QuickTourButton->setFace(store->QuickTourButtonImage->Picture());
    PatternsButton->setFace(store->PatternsButtonDownImage->Picture());
    TechniquesButton->setFace(store->TechniquesButtonImage->Picture());
    QuickTourButton->setChecked(false);
    PatternsButton->setChecked(true);
    TechniquesButton->setChecked(false);
    ShowPrimaryInterface(false);
    ShowExtendedVideoControls(false);
    ShowPatternSelectionInterface(true);
    RightLeftComboBox->setVisible(false);
    keepFocusOnScreen(focusBefore, PatternsListBox);
}

void TForm1::PatternsListBoxDrawItem(QPainter& painter, int32_t Index, const QRect& Rect, QStyle::State)
{
    const QRect destination(Rect.topLeft(), QSize(125, 80));
    const QByteArray text = PatternsListBox->bytesAt(Index);
    const tFlyRecord* fly = catalogue_.findFly(text);
    painter.fillRect(Rect, painter.brush());
    if (fly)
        paintPicture(painter, destination, fly->picture);
}

void TForm1::PatternsListBoxClick()
{
    navigate([this] { showChosenPattern(); });
}

void TForm1::showChosenPattern()
{
    QWidget* const focusBefore = focusWidget();
    TopicsListBox->clear();
    MaterialsAndInstructionsListBox->clear();
    ShowPatternSelectionInterface(false);
    ShowPrimaryInterface(true);
    ShowExtendedVideoControls(true);
    RightLeftComboBox->setVisible(true);
    keepFocusOnScreen(focusBefore, TopicsListBox);

    const QByteArray text = PatternsListBox->selectedBytes();
    currentFly_ = nullptr;
    currentFly_ = PatternsListBox->ItemIndex() < 0 ? nullptr : catalogue_.findFly(text);
    if (!currentFly_) {
        // A name without a pattern: the lesson screen stays empty and nothing can play.
        LogoImage->setPicture(LabelledPicture{});
        closeClip();
        return;
    }
    tFlyRecord* fly = currentFly_;
    LogoImage->setPicture({fly->picture, ansiToQString(fly->displayName)});

    currentSectionList_ = fly->topics;
    for (tTopicRecord* topic = fly->topics; topic; topic = topic->next)
        TopicsListBox->addBytes(topic->title);

    tTopicRecord* first = fly->topics;
    if (first) {
        MediaPlayer1->setFileName(patternClipFileName(*fly));
        processPendingEvents();
        MediaPlayer1->Open();
        MediaPlayer1->setPosition(0);
        currentOffset_ = first->offset;
        setStartAndEndPos(first->startFrame, first->stopFrame);
        currentTopic_ = first;
        currentOffset_ = first->offset;
        TopicsListBox->setItemIndex(0);
        showLessonTitle();
    } else {
        closeClip();
    }

    for (const QByteArray& line : fly->materials)
        MaterialsAndInstructionsListBox->addBytes(line);

    if (first)
        AdvanceToFrame(MediaPlayer1->StartPos());
}

QString TForm1::patternClipFileName(const tFlyRecord& fly) const
{
    const QString name = fly.listedBaseName + QStringLiteral(".avi");
    if (!name.contains(QLatin1Char('\\')))
        return clipFileName(QStringLiteral("Flies\\") + name);
    // Here a backslash is part of the pattern file's name, not a separator: the clip is the
    // entry of that name in Flies (the exact spelling first, then without regard to case),
    // and never a file elsewhere that the name's parts would lead to.
    const QString folder = resolveContentPath(QStringLiteral("Flies"), contentRoot_);
    if (!folder.isEmpty()) {
        const QStringList entries = QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
        if (entries.contains(name))
            return folder + QLatin1Char('/') + name;
        for (const QString& entry : entries)
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return folder + QLatin1Char('/') + entry;
    }
    // None: a name inside Flies that names nothing there, so the device reports the clip
    // missing.
    QString missing = name;
    missing.replace(QLatin1Char('\\'), QChar::ReplacementCharacter);
    return clipFileName(QStringLiteral("Flies\\") + missing);
}

void TForm1::TopicsListBoxClick()
{
    navigate([this] { showChosenTopic(); });
}

void TForm1::showChosenTopic()
{
    StopVideo();
    if (TopicsListBox->ItemIndex() < 0)
        return;
    const QByteArray text = TopicsListBox->selectedBytes();
    tTopicRecord* topic = Catalogue::findTopic(currentSectionList_, text);
    if (!topic)
        return;
    setPlayFace();
    MediaPlayer1->setNotify(false);
    currentOffset_ = topic->offset;
    setStartAndEndPos(topic->startFrame, topic->stopFrame);
    processPendingEvents();
    AdvanceToFrame(MediaPlayer1->StartPos());
    currentTopic_ = topic;
    currentOffset_ = topic->offset;
    showLessonTitle();
}

void TForm1::NextButtonClick()
{
    const int i = TopicsListBox->ItemIndex();
    const int n = TopicsListBox->Count();
    if (i < n - 1) {
        TopicsListBox->setItemIndex(i + 1);
        TopicsListBoxClick();
    }
}

void TForm1::PreviousButtonClick()
{
    const int i = TopicsListBox->ItemIndex();
    if (i > 0) {
        TopicsListBox->setItemIndex(i - 1);
        TopicsListBoxClick();
    }
}

} // namespace hw
