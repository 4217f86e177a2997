#pragma once
// A content tree in a temporary folder, for tests that read files from disk.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace hw::test {

class TempTree {
public:
    TempTree() { dir_.setAutoRemove(true); }
    QDir root() const { return QDir(dir_.path()); }
    QString path(const QString& relative) const { return dir_.path() + QLatin1Char('/') + relative; }

    // Writes bytes to a path relative to the root, creating folders as needed.
    void write(const QString& relative, const QByteArray& bytes) const
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    void mkdir(const QString& relative) const { QDir().mkpath(path(relative)); }

private:
    QTemporaryDir dir_;
};

} // namespace hw::test
