#pragma once
// The practice tools of the tutor window: "loop this step", slower plays, the sound level,
// captions, spoken commands and the full-screen practice view, reached by keys and by the video panel's
// right-click menu, shown by small notes over the panel's corners; and the sheet of the
// window's keys.
//
// Loop and speed start off (normal speed, no loop) and last for this run; the sound level and
// whether captions are shown are read from and kept in the settings store.
#include "PracticeChoices.h"

#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSettings;
class QWidget;

namespace hw {

class HandsFree;
class KeySheet;
class PanelNote;
class PracticeView;
class TMediaPlayer;

class PracticeTools : public QObject {
    Q_OBJECT

public:
    PracticeTools(QWidget* window, QWidget* videoPanel, TMediaPlayer* player,
                  std::shared_ptr<QSettings> settings);
    ~PracticeTools() override;

    bool loop() const { return loop_; }
    PlaySpeed speed() const { return speed_; }
    // Gives the device this run's speed and sound level and, when asked, the loop, for the
    // play the window is about to start.
    void prepareDevice(bool topicPlay);
    // Called with the new state when the loop is switched.
    std::function<void(bool on)> onLoopSwitched;
    // Called when the speed has changed.
    std::function<void()> onSpeedChanged;
    // A text field that takes the practice keys as text only while it is being typed in.
    void shareKeysWith(QWidget* field, std::function<bool()> beingTypedIn);
    bool captions() const { return captions_; }
    PracticeView* view() const { return view_; }
    // Spoken commands (V), which the window gives its listener and its commands' actions.
    HandsFree* handsFree() const { return handsFree_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addKey(const QString& text, const QString& name, std::initializer_list<int> keys,
                    void (PracticeTools::*handler)());
    void buildMenu();
    void showMenu(const QPoint& at);
    void switchLoop();
    void setSpeed(PlaySpeed speed);
    void cycleSpeed();
    void slowDown();
    void speedUp();
    void switchMute();
    void louder();
    void softer();
    void soundChanged();
    void showKeys();
    void switchCaptions();
    void switchView();
    void switchListening();
    void updateBadge();

    QWidget* window_;
    QWidget* panel_;
    TMediaPlayer* player_;
    std::shared_ptr<QSettings> settings_;
    bool loop_ = false;
    PlaySpeed speed_ = PlaySpeed::Normal;
    SoundLevel sound_;

    QAction* loopAction_ = nullptr;
    QAction* muteAction_ = nullptr;
    QAction* keysAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* captionsAction_ = nullptr;
    QAction* listenAction_ = nullptr;
    HandsFree* handsFree_ = nullptr;
    bool captions_ = true;
    QAction* speedActions_[3] = {};
    QMenu* menu_ = nullptr;
    PanelNote* badge_ = nullptr;
    PanelNote* soundNote_ = nullptr; // the sound level, and captions switched
    PracticeView* view_ = nullptr;
    KeySheet* sheet_ = nullptr;
    QWidget* field_ = nullptr;
    std::function<bool()> fieldBeingTypedIn_;
};

} // namespace hw
