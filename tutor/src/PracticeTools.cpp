#include "PracticeTools.h"

#include "HandsFree.h"
#include "KeySheet.h"
#include "PanelNote.h"
#include "PracticeView.h"
#include "hw/media/TMediaPlayer.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QWidget>

namespace hw {

namespace {
// The window's column under the section buttons, whose right edges are 11 pixels in from
// the window's; the Patterns button ends at 226.
constexpr int kNoteRightMargin = 11;
constexpr int kNoteTop = 236;
constexpr int kNoteSpacing = 26;
} // namespace

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
    viewAction_ = addKey(QStringLiteral("Practice view"), QStringLiteral("PracticeViewAction"), {Qt::Key_F},
                         &PracticeTools::switchView);
    viewAction_->setCheckable(true);
    captionsAction_ = addKey(QStringLiteral("Captions"), QStringLiteral("CaptionsAction"), {Qt::Key_C},
                             &PracticeTools::switchCaptions);
    captionsAction_->setCheckable(true);
    listenAction_ = addKey(QStringLiteral("Listen for spoken commands"), QStringLiteral("ListenAction"),
                           {Qt::Key_V}, &PracticeTools::switchListening);
    listenAction_->setCheckable(true);

    // Beside the video, in the window's free column under the section buttons, where they
    // cover neither the picture's title band nor a control.
    const QPoint beside(panel_->parentWidget()->width() - kNoteRightMargin, kNoteTop);
    badge_ = new PanelNote(panel_, beside, QStringLiteral("PracticeBadge"));
    soundNote_ = new PanelNote(panel_, beside + QPoint(0, kNoteSpacing), QStringLiteral("SoundNote"));
    handsFree_ = new HandsFree(
        this, new PanelNote(panel_, beside + QPoint(0, 2 * kNoteSpacing), QStringLiteral("ListenBadge")),
        settings_);
    handsFree_->onBadgeChanged = [this] {
        listenAction_->setChecked(handsFree_->listening());
        updateBadge();
    };
    handsFree_->onFlash = [this](const QString& note) { view_->flashNote(note); };
    view_ = new PracticeView(window_, panel_, player_);
    // Every practice key works in the view as in the window.
    view_->addActions(window_->actions());
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(view_->mapToGlobal(at)); });
    buildMenu();
    panel_->installEventFilter(this);

    if (settings_) {
        sound_ = SoundLevel::load(*settings_);
        captions_ = captionsShown(*settings_);
    }
    captionsAction_->setChecked(captions_);
    player_->setCaptionsShown(captions_);
    updateBadge();
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
    if (watched == panel_) {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            view_->open();
            viewAction_->setChecked(true);
            return true;
        }
        return false;
    }
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
    menu_->addAction(captionsAction_);
    menu_->addAction(listenAction_);
    menu_->addSeparator();
    menu_->addAction(viewAction_);
    menu_->addAction(keysAction_);
    // The view leaves by Esc, a double-click or F too: the menu's tick follows it.
    connect(menu_, &QMenu::aboutToShow, this, [this] { viewAction_->setChecked(view_->isOpen()); });

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
    view_->flashNote(sound_.note());
    updateBadge();
}

void PracticeTools::showKeys()
{
    if (!sheet_)
        sheet_ = new KeySheet(window_);
    sheet_->open(view_->isOpen() ? view_ : window_);
}

void PracticeTools::switchCaptions()
{
    captions_ = !captions_;
    captionsAction_->setChecked(captions_);
    player_->setCaptionsShown(captions_);
    if (settings_)
        saveCaptionsShown(*settings_, captions_);
    const QString note = captionsNote(captions_, player_->hasCaptions());
    soundNote_->flash(note);
    view_->flashNote(note);
}

void PracticeTools::switchView()
{
    view_->toggle();
    viewAction_->setChecked(view_->isOpen());
}

void PracticeTools::switchListening()
{
    handsFree_->setListening(!handsFree_->listening());
    listenAction_->setChecked(handsFree_->listening());
}

void PracticeTools::updateBadge()
{
    badge_->setText(practiceBadgeText(loop_, speed_));
    QStringList viewBadges;
    if (const QString practice = practiceBadgeText(loop_, speed_); !practice.isEmpty())
        viewBadges << practice;
    if (sound_.muted)
        viewBadges << QStringLiteral("Muted");
    if (handsFree_ && handsFree_->listening())
        viewBadges << QStringLiteral("Listening");
    view_->setBadges(viewBadges.join(QLatin1Char(' ')));
}

} // namespace hw
