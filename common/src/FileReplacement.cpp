#include "hw/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>

namespace hw {
namespace {

// The user's umask, read without changing it (changing it would race with other threads
// creating files); 022 where the system does not tell.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint value = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return static_cast<mode_t>(value & 0777u);
            }
        }
    }
    return 022;
}

// Where a path leads: through every symbolic link, also one whose target does not exist yet.
QString resolveLinks(const QString& path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    return QString(); // a loop of links
}

} // namespace

FileReplacement::FileReplacement(const QString& path)
    : path_(path)
    , target_(resolveLinks(path))
{
    if (target_.isEmpty()) {
        error_ = QStringLiteral("Cannot write file %1: its links lead round in a circle").arg(path);
        return;
    }
    const QFileInfo info(target_);
    // A file without its owner's write bit was made read-only on purpose, also where the
    // system would let this user write it anyway (root).
    if (info.exists() && (!info.isFile() || !info.isWritable() || !(info.permissions() & QFile::WriteOwner)))
        error_ = QStringLiteral("Cannot write file %1: it is read-only").arg(path);
    else if (!QFileInfo(info.absolutePath()).isDir())
        error_ = QStringLiteral("Cannot write file %1: its folder does not exist").arg(path);
}

FileReplacement::~FileReplacement()
{
    if (!partial_.isEmpty() && !committed_)
        QFile::remove(partial_);
}

QString FileReplacement::partialPath()
{
    if (!partial_.isEmpty() || !error_.isEmpty())
        return partial_;
    QTemporaryFile file(target_ + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        error_ = QStringLiteral("Cannot create file %1").arg(path_);
        return QString();
    }
    file.setAutoRemove(false);
    partial_ = file.fileName();
    return partial_;
}

bool FileReplacement::commit()
{
    if (partial_.isEmpty() || !error_.isEmpty())
        return false;
    struct stat existing { };
    const QByteArray target = QFile::encodeName(target_);
    const QByteArray partial = QFile::encodeName(partial_);
    const mode_t mode
        = ::stat(target.constData(), &existing) == 0 ? (existing.st_mode & 07777) : (0666 & ~currentUmask());
    if (::chmod(partial.constData(), mode) != 0
        || std::rename(partial.constData(), target.constData()) != 0) {
        error_ = QStringLiteral("Cannot write file %1").arg(path_);
        return false;
    }
    committed_ = true;
    return true;
}

} // namespace hw
