#include "hw/FileReplacement.h"
#include "TempTree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

using hw::FileReplacement;
using hw::test::writeTreeFile;

namespace {

bool replaceWith(const QString& path, const QByteArray& bytes)
{
    FileReplacement r(path);
    const QString partial = r.partialPath();
    if (partial.isEmpty())
        return false;
    writeTreeFile(partial, bytes);
    return r.commit();
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

mode_t modeOf(const QString& path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

} // namespace

TEST(FileReplacement, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.pdf"));
    const mode_t saved = ::umask(077);
    const bool made = replaceWith(fresh, "new");
    ::umask(saved);
    ASSERT_TRUE(made);
    EXPECT_EQ(modeOf(fresh), mode_t(0600));

    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    writeTreeFile(kept, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
    ASSERT_TRUE(replaceWith(kept, "new"));
    EXPECT_EQ(contents(kept), QByteArray("new"));
    EXPECT_EQ(modeOf(kept), mode_t(0640));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no partial left
}

TEST(FileReplacement, ReadOnlyFilesAreRefusedAndLinksAreWrittenThrough)
{
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked.pdf"));
    writeTreeFile(locked, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    FileReplacement refused(locked);
    EXPECT_EQ(refused.error(), QStringLiteral("Cannot write file %1: it is read-only").arg(locked));
    EXPECT_TRUE(refused.partialPath().isEmpty());
    EXPECT_FALSE(refused.commit());
    EXPECT_EQ(contents(locked), QByteArray("old"));

    const QString target = dir.filePath(QStringLiteral("real/card.pdf"));
    writeTreeFile(target, "old");
    const QString link = dir.filePath(QStringLiteral("card.pdf"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(replaceWith(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(target), QByteArray("new"));

    const QString dangling = dir.filePath(QStringLiteral("later.pdf"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("real/later.pdf")), dangling));
    ASSERT_TRUE(replaceWith(dangling, "made"));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("real/later.pdf"))), QByteArray("made"));

    EXPECT_FALSE(FileReplacement(dir.filePath(QStringLiteral("no/such/folder/x.pdf"))).error().isEmpty());
}

TEST(FileReplacement, AnAbandonedSaveLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.pdf"));
    writeTreeFile(path, "old");
    {
        FileReplacement r(path);
        writeTreeFile(r.partialPath(), "half");
    }
    EXPECT_EQ(contents(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("card.pdf")});
}
