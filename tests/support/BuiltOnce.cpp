#include "BuiltOnce.h"

#include "hw/demo/DemoLibrary.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <gtest/gtest.h>

#include <stdexcept>

namespace hw::test {

QByteArray fileStamp(const QString& path)
{
    const QFileInfo file(path);
    return file.absoluteFilePath().toUtf8() + ' ' + QByteArray::number(file.size()) + ' '
        + QByteArray::number(file.lastModified().toMSecsSinceEpoch());
}

QString builtOnce(const QString& name, const std::function<void(const QString& root)>& build,
                  const QByteArray& stamp, const QString& folder)
{
    const QByteArray identity = stamp.isEmpty() ? fileStamp(QCoreApplication::applicationFilePath()) : stamp;
    const QString base
        = (folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder) + QLatin1Char('/') + name;
    const QString root = base + QStringLiteral("/tree");
    QDir().mkpath(base);
    QLockFile lock(base + QStringLiteral("/lock"));
    lock.setStaleLockTime(20 * 60 * 1000); // making the demo library can take minutes on a loaded machine
    if (!lock.lock()) {
        ADD_FAILURE() << "cannot lock " << base.toStdString();
        return root;
    }
    QFile marker(base + QStringLiteral("/complete"));
    if (QFileInfo::exists(root) && marker.open(QIODevice::ReadOnly) && marker.readAll() == identity)
        return root;
    marker.close();
    QFile::remove(marker.fileName());
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    try {
        build(root);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "cannot make " << name.toStdString() << ": " << e.what();
        return root;
    }
    if (marker.open(QIODevice::WriteOnly))
        marker.write(identity);
    return root;
}

QString demoTree()
{
    // The libraries whose code writes the lessons, their pictures and their clips.
    QByteArray stamp;
    for (const QString& code : QStringLiteral(HW_DEMO_CODE).split(QLatin1Char('|')))
        stamp += fileStamp(code) + '\n';
    return builtOnce(
        QStringLiteral("demo-library"),
        [](const QString& root) {
            QString error;
            if (!demo::makeDemoLibrary(root, nullptr, &error))
                throw std::runtime_error("make-demo failed: " + error.toStdString());
        },
        stamp, QStringLiteral(HW_TESTS_BINARY_DIR));
}

} // namespace hw::test
