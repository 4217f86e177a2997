// Clip transport and handedness: Play/Stop, Rewind, one-frame steps, the completion notice
// and the change between right- and left-handed demonstrations.
#include "FrameMath.h"
#include "PracticeTools.h"
#include "hw/tutor/TForm1.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

namespace hw {

int TForm1::handedness() const
{
    return RightLeftComboBox->currentIndex() == 1 ? 1 : 0;
}

void TForm1::setStartPosOnly(int32_t Start)
{
    MediaPlayer1->setStartPos(handedStart(Start, handedness(), currentOffset_));
}

void TForm1::setEndPosOnly(int32_t Stop)
{
    MediaPlayer1->setEndPos(handedStop(Stop, handedness(), currentOffset_));
}

void TForm1::setPositionOnly(int32_t Frame)
{
    MediaPlayer1->setPosition(handedStart(Frame, handedness(), currentOffset_));
}

void TForm1::PlayStopButtonClick()
{
    if (!currentTopic_)
        return; // no topic on this screen: nothing to play
    if (MediaPlayer1->Mode() == TMPModes::mpPlaying) {
        MediaPlayer1->setWait(false);
        MediaPlayer1->setNotify(false);
        processPendingEvents();
        MediaPlayer1->Stop();
        setPlayFace();
        return;
    }
    startPlay();
}

void TForm1::startPlay()
{
    setStopFace();
    processPendingEvents();
    if (!currentTopic_) {
        setPlayFace(); // a handler run meanwhile left a screen without topics
        return;
    }
    MediaPlayer1->setWait(false);
    MediaPlayer1->setNotify(true);
    setEndPosOnly(currentTopic_->stopFrame);
    // A repeating play starts over where it began: a loop runs the whole topic.
    if (MediaPlayer1->Position() == MediaPlayer1->EndPos() || practice_->loop())
        setStartPosOnly(currentTopic_->startFrame);
    processPendingEvents();
    practice_->prepareDevice(true); // loops while "loop this step" is on
    MediaPlayer1->Play();
}

void TForm1::MediaPlayer1Notify()
{
    if (MediaPlayer1->NotifyValue() != TMPNotifyValues::nvSuccessful)
        return;
    // The loop was switched on while this play ran: the topic starts over, repeating.
    if (practice_->loop() && stopFaceShown_ && currentTopic_) {
        startPlay();
        return;
    }
    setPlayFace();
}

void TForm1::loopSwitched(bool on)
{
    // A topic playing when the loop is switched on plays to its end and then starts over
    // (see MediaPlayer1Notify); switched off, a repeating play plays on to the topic's end
    // and stops there.
    if (!on)
        playOnWithNewSettings();
}

void TForm1::playOnWithNewSettings()
{
    // Repeat and speed belong to a play: a topic playing when they change goes on as a new
    // play from the frame it shows (a loop from the topic's start, where it starts over).
    if (!stopFaceShown_ || !currentTopic_ || MediaPlayer1->Mode() != TMPModes::mpPlaying)
        return;
    const int32_t shown = MediaPlayer1->Position();
    MediaPlayer1->setWait(false);
    MediaPlayer1->setNotify(false);
    MediaPlayer1->Stop();
    MediaPlayer1->setWait(false);
    MediaPlayer1->setNotify(true);
    setEndPosOnly(currentTopic_->stopFrame);
    if (practice_->loop())
        setStartPosOnly(currentTopic_->startFrame);
    else
        MediaPlayer1->setStartPos(shown);
    practice_->prepareDevice(true);
    MediaPlayer1->Play();
}

void TForm1::RewindButtonClick()
{
    if (!currentTopic_)
        return;
    StopVideo();
    if (!currentTopic_)
        return;
    setPositionOnly(currentTopic_->startFrame);
}

void TForm1::StepForwardButtonClick()
{
    if (!currentTopic_)
        return;
    MediaPlayer1->setNotify(false);
    MediaPlayer1->Stop();
    if (MediaPlayer1->Position() < MediaPlayer1->EndPos())
        MediaPlayer1->setPosition(clampFrame(int64_t{MediaPlayer1->Position()} + 1));
    setPlayFace();
}

void TForm1::StepBackButtonClick()
{
    if (!currentTopic_)
        return;
    MediaPlayer1->setNotify(false);
    MediaPlayer1->Stop();
    if (MediaPlayer1->Position() > MediaPlayer1->StartPos())
        MediaPlayer1->setPosition(clampFrame(int64_t{MediaPlayer1->Position()} - 1));
    setPlayFace();
}

void TForm1::RightLeftComboBoxChange()
{
    if (!currentTopic_)
        return; // the hand is kept for the next topic; there is no clip to move
    bool wasPlaying = false;
    if (MediaPlayer1->Mode() == TMPModes::mpPlaying) {
        wasPlaying = true;
        PlayStopButton->click();
    }
    processPendingEvents();
    if (!currentTopic_)
        return;
    setStartAndEndPos(currentTopic_->startFrame, currentTopic_->stopFrame);
    AdvanceToFrame(MediaPlayer1->StartPos());
    showLessonTitle();
    // A clip that was playing plays on in the new hand. A second click would find the
    // one-frame display still running and stop it instead, leaving the old hand's picture
    // on screen; so the play starts directly, taking over from that display.
    if (wasPlaying)
        startPlay();
}

void TForm1::onHandednessEdited(const QString& text)
{
    // Typed text chooses a hand only when it names one of the two items; anything else
    // leaves the hand as it was.
    const int index = RightLeftComboBox->findText(text.trimmed(), Qt::MatchFixedString);
    if (index != 0 && index != 1)
        return;
    if (index == RightLeftComboBox->currentIndex())
        return;
    const int cursor = RightLeftComboBox->lineEdit()->cursorPosition();
    RightLeftComboBox->setCurrentIndex(index);
    RightLeftComboBox->lineEdit()->setCursorPosition(cursor);
    RightLeftComboBoxChange();
}

void TForm1::restoreHandednessText()
{
    // The field shows the hand in force once the user has finished typing.
    const QString current = RightLeftComboBox->itemText(handedness());
    if (RightLeftComboBox->currentText() != current)
        RightLeftComboBox->setEditText(current);
}

void TForm1::spokenCommand(SpokenCommand command)
{
    // As the command's key: a button the screen does not show is not pressed.
    const auto press = [](QAbstractButton* button) {
        if (button->isVisible() && button->isEnabled())
            button->click();
    };
    const bool playing = MediaPlayer1->Mode() == TMPModes::mpPlaying;
    const auto trigger = [this](const char* name) {
        if (auto* action = findChild<QAction*>(QString::fromLatin1(name)))
            action->trigger();
    };
    switch (command) {
    case SpokenCommand::Play:
        if (!playing)
            press(PlayStopButton);
        break;
    case SpokenCommand::Stop:
        if (playing)
            press(PlayStopButton);
        break;
    case SpokenCommand::Again:
        // The step from its start.
        if (playing)
            press(PlayStopButton);
        press(RewindButton);
        if (MediaPlayer1->Mode() != TMPModes::mpPlaying)
            press(PlayStopButton);
        break;
    case SpokenCommand::Next:
        press(NextButton);
        break;
    case SpokenCommand::Back:
        press(PreviousButton);
        break;
    case SpokenCommand::Slower:
        trigger("SlowerAction");
        break;
    case SpokenCommand::Faster:
        trigger("FasterAction");
        break;
    }
}

} // namespace hw
