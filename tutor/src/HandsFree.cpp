#include "HandsFree.h"

#include "PanelNote.h"
#include "StoredBool.h"

#include <QSettings>

namespace hw {

namespace {
const QString kListeningKey = QStringLiteral("Practice/ListenForSpokenCommands");
const QString kListening = QStringLiteral("Listening");
const QString kNoMicrophone = QStringLiteral("No microphone found");
constexpr int kFlashMs = 1500;
} // namespace

HandsFree::HandsFree(QObject* parent, PanelNote* badge, std::shared_ptr<QSettings> settings)
    : QObject(parent)
    , badge_(badge)
    , settings_(std::move(settings))
{
    flashEnd_.setSingleShot(true);
    flashEnd_.setInterval(kFlashMs);
    connect(&flashEnd_, &QTimer::timeout, this, [this] { showBadge(listening() ? kListening : QString()); });
}

HandsFree::~HandsFree()
{
    if (listener_)
        listener_->stop();
}

void HandsFree::restore()
{
    if (settings_ && storedBool(settings_->value(kListeningKey), false))
        setListening(true);
}

QString HandsFree::badgeText() const
{
    return badge_->text();
}

void HandsFree::setListening(bool on)
{
    if (on == listening())
        return;
    ++generation_;
    flashEnd_.stop();
    if (!on) {
        listener_->stop();
        listener_.reset();
        save(false);
        showBadge(QString());
        return;
    }
    std::unique_ptr<CommandListener> listener;
    try {
        if (make_)
            listener = make_();
    } catch (const std::exception& e) {
        qWarning("Spoken commands: %s", e.what());
    }
    if (!listener) {
        stateChanged(generation_, ListenState::NoMicrophone);
        return;
    }
    const unsigned generation = generation_;
    // Carried to this thread; a listener stopped since has nothing more to say.
    listener->onHeard = [this, generation](const HeardCommand& command) {
        QMetaObject::invokeMethod(
            this, [this, generation, c = command.command] { heard(generation, c); }, Qt::QueuedConnection);
    };
    listener->onState = [this, generation](ListenState state) {
        QMetaObject::invokeMethod(
            this, [this, generation, state] { stateChanged(generation, state); }, Qt::QueuedConnection);
    };
    listener_ = std::move(listener);
    showBadge(kListening);
    listener_->start();
}

void HandsFree::heard(unsigned generation, SpokenCommand command)
{
    if (generation != generation_ || !listener_)
        return;
    const QString note = QStringLiteral("heard: %1").arg(QString::fromLatin1(commandWord(command)));
    showBadge(note);
    if (onFlash)
        onFlash(note);
    flashEnd_.start();
    if (onCommand)
        onCommand(command);
}

void HandsFree::stateChanged(unsigned generation, ListenState state)
{
    if (generation != generation_)
        return;
    if (state == ListenState::Listening) {
        save(true); // kept only once it has worked: a failed attempt leaves the choice as it was
        return;
    }
    if (state != ListenState::NoMicrophone && state != ListenState::Ended)
        return;
    ++generation_;
    if (listener_) {
        listener_->stop();
        listener_.reset();
    }
    showBadge(kNoMicrophone);
    if (onFlash)
        onFlash(kNoMicrophone);
    flashEnd_.start();
}

void HandsFree::showBadge(const QString& text)
{
    badge_->setText(text);
    if (onBadgeChanged)
        onBadgeChanged();
}

void HandsFree::save(bool on)
{
    if (settings_)
        settings_->setValue(kListeningKey, on);
}

} // namespace hw
