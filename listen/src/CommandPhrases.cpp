#include "hw/listen/CommandPhrases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

namespace hw {

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024;
const QString kFileName = QStringLiteral("spoken-commands.txt");
const QString kBuiltIn = QStringLiteral(":/listen/spoken-commands.txt");

[[noreturn]] void fail(const QString& path, int line, const QString& why)
{
    const QString where = line > 0 ? QStringLiteral("%1, line %2").arg(path).arg(line) : path;
    throw PhraseListError(QStringLiteral("%1: %2").arg(where, why).toStdString());
}

CommandPhrase parseLine(const QString& path, int number, const QString& line)
{
    // word, phrase, /threshold/
    static const QRegularExpression shape(QStringLiteral(R"(^(\S+)\s+([^/]+?)\s*/([^/]*)/$)"));
    const QRegularExpressionMatch m = shape.match(line);
    if (!m.hasMatch())
        fail(path, number, QStringLiteral("expected a command, its phrase and /threshold/"));
    CommandPhrase phrase;
    const QString word = m.captured(1).toLower();
    const std::optional<SpokenCommand> command = commandFromWord(word.toStdString());
    if (!command)
        fail(path, number,
             QStringLiteral("\"%1\" is not a command (play, stop, again, next, back, slower, faster)")
                 .arg(word));
    phrase.command = *command;
    const QStringList words = m.captured(2).toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    static const QRegularExpression wordShape(QStringLiteral("^[a-z']+$"));
    for (const QString& w : words)
        if (!wordShape.match(w).hasMatch())
            fail(path, number, QStringLiteral("\"%1\" is not a word the recogniser knows").arg(w));
    if (words.size() > 6)
        fail(path, number, QStringLiteral("a phrase has at most six words"));
    phrase.phrase = words.join(QLatin1Char(' ')).toStdString();
    bool ok = false;
    phrase.threshold = m.captured(3).trimmed().toDouble(&ok);
    if (!ok || !(phrase.threshold > 0) || !(phrase.threshold < 1))
        fail(path, number, QStringLiteral("the threshold must be a number between 0 and 1, such as 1e-20"));
    return phrase;
}

} // namespace

std::vector<CommandPhrase> readCommandPhrases(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, 0, QStringLiteral("cannot be read"));
    if (file.size() > kMaxFileBytes)
        fail(path, 0, QStringLiteral("is too large for a phrase list"));
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        fail(path, 0, QStringLiteral("is too large for a phrase list"));
    if (bytes.contains('\0'))
        fail(path, 0, QStringLiteral("is not a text file"));

    std::vector<CommandPhrase> phrases;
    std::set<SpokenCommand> seen;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = QString::fromUtf8(lines[i]);
        if (const qsizetype hash = line.indexOf(QLatin1Char('#')); hash >= 0)
            line.truncate(hash);
        line = line.simplified();
        if (line.isEmpty())
            continue;
        CommandPhrase phrase = parseLine(path, i + 1, line);
        if (!seen.insert(phrase.command).second)
            fail(
                path, i + 1,
                QStringLiteral("\"%1\" is listed twice").arg(QString::fromUtf8(commandWord(phrase.command))));
        phrases.push_back(std::move(phrase));
    }
    if (phrases.empty())
        fail(path, 0, QStringLiteral("lists no phrases"));
    return phrases;
}

QString commandPhrasesPath(const QString& settingsFolder)
{
    if (!settingsFolder.isEmpty()) {
        const QString own = QDir(settingsFolder).filePath(kFileName);
        if (QFileInfo(own).isFile())
            return own;
    }
    const QString installed = QStringLiteral(HW_PHRASES_INSTALLED);
    if (QFileInfo(installed).isFile())
        return installed;
    return kBuiltIn;
}

} // namespace hw
