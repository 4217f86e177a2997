#include "DemoTree.h"

#include "hw/demo/DemoLibrary.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <gtest/gtest.h>

namespace hw::test {
namespace {

QByteArray binaryStamp()
{
    const QFileInfo binary(QCoreApplication::applicationFilePath());
    return binary.absoluteFilePath().toUtf8() + ' ' + QByteArray::number(binary.size()) + ' '
           + QByteArray::number(binary.lastModified().toMSecsSinceEpoch());
}

} // namespace

QString demoTree()
{
    const QString base = QCoreApplication::applicationDirPath() + QStringLiteral("/demo-library");
    const QString root = base + QStringLiteral("/tree");
    const QString marker = base + QStringLiteral("/complete");
    QDir().mkpath(base);
    QLockFile lock(base + QStringLiteral("/lock"));
    lock.setStaleLockTime(15 * 60 * 1000); // making the library can take minutes on a loaded machine
    EXPECT_TRUE(lock.lock());

    QFile done(marker);
    if (done.open(QIODevice::ReadOnly) && done.readAll() == binaryStamp())
        return root;
    done.close();
    QFile::remove(marker);
    QDir(root).removeRecursively();
    demo::DemoReport report;
    QString error;
    if (!demo::makeDemoLibrary(root, &report, &error)) {
        ADD_FAILURE() << "make-demo failed: " << error.toStdString();
        return root;
    }
    QFile out(marker);
    if (out.open(QIODevice::WriteOnly))
        out.write(binaryStamp());
    return root;
}

} // namespace hw::test
