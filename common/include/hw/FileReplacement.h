#pragma once
// Saving a file so that a failure leaves what was there: the bytes are written to a file
// beside the one replaced, which is moved into place once whole. A symbolic link is written
// through (its target is replaced and the link stays a link); a file that may not be written
// is refused; the new file gets the mode of the one it replaces, or what the user's umask
// gives a new file.
#include <QString>

namespace hw {

class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement(); // removes the partial file unless it was moved into place

    // Empty when the file may be replaced; else why not, naming the file.
    const QString& error() const { return error_; }
    // The file that is replaced (the link's target for a symbolic link).
    const QString& target() const { return target_; }
    // A new empty file beside the target for the bytes (made on first call); empty on failure.
    QString partialPath();
    // Moves the finished partial file over the target; false (with error()) when it cannot.
    bool commit();

private:
    QString path_;
    QString target_;
    QString partial_;
    QString error_;
    bool committed_ = false;
};

} // namespace hw
