#pragma once
// The application object: runs the message loop and reports every error that leaves an
// event handler in the framework's default error box (error icon, OK, the program's
// title as caption), after which the program goes on.
#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

namespace hw {

// The program's title: the program file's name without its folder, cut before its first
// full stop, every letter after the first in lower case.
QString programTitle(const QString& programFilePath);
// The error box text: the message, with a full stop appended when its last character
// sorts after ".".
QString errorBoxText(const QString& message);

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    QString Title() const;

    // Shows the default error box for e (hw::Exception's message, or what() otherwise).
    void ShowException(const std::exception& e);
    void ShowErrorMessage(const QString& message);

    // Seam for tests: replaces the modal box; receives caption and text.
    using ErrorBoxHook = std::function<void(const QString& caption, const QString& text)>;
    static void setErrorBoxHook(ErrorBoxHook hook);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the default error box for a message, as for an error that left a handler.
void showErrorBox(const QString& message);

// Runs fn and reports any error it throws in the default error box; returns false if it threw.
bool runReportingErrors(const std::function<void()>& fn);

} // namespace hw
