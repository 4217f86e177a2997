#include "hw/app/Application.h"

#include "hw/Exception.h"

#include <QFileInfo>
#include <QMessageBox>

namespace hw {
namespace {
Application::ErrorBoxHook& errorBoxHook()
{
    static Application::ErrorBoxHook hook;
    return hook;
}

QString messageOf(const std::exception& e)
{
    if (const auto* own = dynamic_cast<const Exception*>(&e))
        return own->message();
    return QString::fromLocal8Bit(e.what());
}

void showBox(const QString& message)
{
    const QString caption = programTitle(QCoreApplication::applicationFilePath());
    const QString text = errorBoxText(message);
    if (errorBoxHook()) {
        errorBoxHook()(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    // The splash window stays on top of other windows; a box beneath it could not be
    // dismissed, and the program would wait for it for ever.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}
} // namespace

QString programTitle(const QString& programFilePath)
{
    QString name = QFileInfo(programFilePath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{ }

QString Application::Title() const
{
    return programTitle(applicationFilePath());
}

void Application::ShowException(const std::exception& e)
{
    showBox(messageOf(e));
}

void Application::ShowErrorMessage(const QString& message)
{
    showBox(message);
}

void Application::setErrorBoxHook(ErrorBoxHook hook)
{
    errorBoxHook() = std::move(hook);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showBox(messageOf(e));
    } catch (...) {
        showBox(QStringLiteral("Unknown error"));
    }
    return true;
}

void showErrorBox(const QString& message)
{
    showBox(message);
}

bool runReportingErrors(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        showBox(messageOf(e));
    } catch (...) {
        showBox(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace hw
