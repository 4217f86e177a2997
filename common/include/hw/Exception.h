#pragma once
// The program's one family of errors. Each carries the exact text the user is shown;
// how it is shown is decided in one place by the application (the default error box).
#include <QString>
#include <exception>
#include <string>

namespace hw {

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// "Stream read error", "Bitmap image is not valid", "Cannot open file %s",
// "'%s' is not a valid integer value": errors reading content files.
class EContentError : public Exception {
public:
    using Exception::Exception;
};

// A printer job that cannot be started: the printer's name and the reason.
class EPrinterError : public Exception {
public:
    using Exception::Exception;
};

} // namespace hw
