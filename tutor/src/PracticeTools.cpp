#include "PracticeTools.h"

#include "KeySheet.h"
#include "PanelNote.h"
#include "hw/media/TMediaPlayer.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QWidget>

namespace hw {

PracticeTools::PracticeTools(QWidget* window, QWidget* videoPanel, TMediaPlayer* player,
                             std::shared_ptr<QSettings> settings)
    : QObject(window)
    , window_(window)
    , panel_(videoPanel)
    , player_(player)
    , settings_(std::move(settings))
{
    loopAction_ = addKey(QStringLiteral("Loop this step"), QStringLiteral("LoopAction"), {Qt::Key_L},
                         &PracticeTools::switchLoop);
    loopAction_->setCheckable(true);
    addKey(QStringLiteral("Next speed"), QStringLiteral("NextSpeedAction"), {Qt::Key_S},
           &PracticeTools::cycleSpeed);
    addKey(QStringLiteral("Slower"), QStringLiteral("SlowerAction"), {Qt::Key_BracketLeft},
           &PracticeTools::slowDown);
    addKey(QStringLiteral("Faster"), QStringLiteral("FasterAction"), {Qt::Key_BracketRight},
           &PracticeTools::speedUp);
    muteAction_ = addKey(QStringLiteral("Mute"), QStringLiteral("MuteAction"), {Qt::Key_M},
                         &PracticeTools::switchMute);
    muteAction_->setCheckable(true);
    addKey(QStringLiteral("Louder"), QStringLiteral("LouderAction"), {Qt::Key_Plus, Qt::Key_Equal},
           &PracticeTools::louder);
    addKey(QStringLiteral("Softer"), QStringLiteral("SofterAction"), {Qt::Key_Minus}, &PracticeTools::softer);
    keysAction_ = addKey(QStringLiteral("Keys"), QStringLiteral("KeysAction"), {Qt::Key_F1, Qt::Key_Question},
                         &PracticeTools::showKeys);

    badge_ = new PanelNote(panel_, PanelNote::Corner::TopRight, QStringLiteral("PracticeBadge"));
    soundNote_ = new PanelNote(panel_, PanelNote::Corner::TopLeft, QStringLiteral("SoundNote"));
    buildMenu();

    if (settings_)
        sound_ = SoundLevel::load(*settings_);
    muteAction_->setChecked(sound_.muted);
    sound_.applyTo(*player_);
}

PracticeTools::~PracticeTools() = default;

QAction* PracticeTools::addKey(const QString& text, const QString& name, std::initializer_list<int> keys,
                               void (PracticeTools::*handler)())
{
    auto* action = new QAction(text, window_);
    action->setObjectName(name);
    QList<QKeySequence> sequences;
    for (int key : keys)
        sequences << QKeySequence(key);
    action->setShortcuts(sequences);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setAutoRepeat(false);
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    window_->addAction(action);
    return action;
}

void PracticeTools::shareKeysWith(QWidget* field, std::function<bool()> beingTypedIn)
{
    field_ = field;
    fieldBeingTypedIn_ = std::move(beingTypedIn);
    // An editable drop-down hands its text field's events on; both are watched.
    field->installEventFilter(this);
    for (QLineEdit* part : field->findChildren<QLineEdit*>())
        part->installEventFilter(this);
}

bool PracticeTools::eventFilter(QObject* watched, QEvent* event)
{
    // A text field claims every printable key before shortcuts see it. Until the user has
    // typed something of their own, the practice keys stay keys.
    if (event->type() != QEvent::ShortcutOverride || !field_
        || (watched != field_ && watched->parent() != field_) || fieldBeingTypedIn_())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    for (const QAction* action : window_->actions())
        for (const QKeySequence& sequence : action->shortcuts())
            if (sequence.count() == 1 && sequence[0].key() == key->key()) {
                event->ignore();
                return true;
            }
    return false;
}

void PracticeTools::buildMenu()
{
    menu_ = new QMenu(window_);
    menu_->setObjectName(QStringLiteral("PracticeMenu"));
    menu_->addAction(loopAction_);
    menu_->addSeparator();
    auto* group = new QActionGroup(menu_);
    const char* const names[] = {"Normal speed", "Half speed", "Quarter speed"};
    for (int i = 0; i < 3; ++i) {
        // S runs through the three; shown beside each.
        auto* action = new QAction(QString::fromLatin1(names[i]) + QStringLiteral("\tS"), group);
        action->setObjectName(QString::fromLatin1(names[i]).remove(QLatin1Char(' '))
                              + QStringLiteral("Action"));
        action->setCheckable(true);
        const auto speed = static_cast<PlaySpeed>(i);
        connect(action, &QAction::triggered, this, [this, speed] { setSpeed(speed); });
        menu_->addAction(action);
        speedActions_[i] = action;
    }
    speedActions_[0]->setChecked(true);
    menu_->addSeparator();
    menu_->addAction(muteAction_);
    menu_->addSeparator();
    menu_->addAction(keysAction_);

    panel_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(panel_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { showMenu(at); });
}

void PracticeTools::showMenu(const QPoint& at)
{
    menu_->popup(panel_->mapToGlobal(at));
}

void PracticeTools::prepareDevice(bool topicPlay)
{
    player_->setRepeat(topicPlay && loop_);
    player_->setSpeed(speedFactor(speed_));
    sound_.applyTo(*player_);
}

void PracticeTools::switchLoop()
{
    loop_ = !loop_;
    loopAction_->setChecked(loop_);
    updateBadge();
    if (onLoopSwitched)
        onLoopSwitched(loop_);
}

void PracticeTools::setSpeed(PlaySpeed speed)
{
    speed_ = speed;
    speedActions_[static_cast<int>(speed)]->setChecked(true);
    const bool changed = speedFactor(speed) != player_->speed();
    player_->setSpeed(speedFactor(speed));
    updateBadge();
    if (changed && onSpeedChanged)
        onSpeedChanged();
}

void PracticeTools::cycleSpeed()
{
    setSpeed(nextInCycle(speed_));
}
void PracticeTools::slowDown()
{
    setSpeed(slower(speed_));
}
void PracticeTools::speedUp()
{
    setSpeed(faster(speed_));
}

void PracticeTools::switchMute()
{
    sound_.muted = !sound_.muted;
    soundChanged();
}

void PracticeTools::louder()
{
    sound_.louder();
    soundChanged();
}

void PracticeTools::softer()
{
    sound_.softer();
    soundChanged();
}

void PracticeTools::soundChanged()
{
    muteAction_->setChecked(sound_.muted);
    sound_.applyTo(*player_);
    if (settings_)
        sound_.save(*settings_);
    soundNote_->flash(sound_.note());
}

void PracticeTools::showKeys()
{
    if (!sheet_)
        sheet_ = new KeySheet(window_);
    sheet_->open();
}

void PracticeTools::updateBadge()
{
    badge_->setText(practiceBadgeText(loop_, speed_));
}

} // namespace hw
