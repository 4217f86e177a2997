#include "IniChecks.h"

#include "hw/AnsiText.h"

#include <QSet>

namespace hw::check {
namespace {

QString shown(const QByteArray& text)
{
    constexpr qsizetype kShown = 40;
    QString s = ansiToQString(text.left(kShown));
    s.replace(QLatin1Char('\0'), QLatin1Char(' '));
    return QLatin1Char('"') + s + (text.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

bool equalsFolded(const QByteArray& a, const QByteArray& b)
{
    return ansiToQString(a).compare(ansiToQString(b), Qt::CaseInsensitive) == 0;
}

bool containsFolded(const QList<QByteArray>& list, const QByteArray& name)
{
    for (const QByteArray& item : list)
        if (equalsFolded(item, name))
            return true;
    return false;
}

} // namespace

void reportIniNotes(const IniFile& ini, const QString& file, Findings& out)
{
    using Kind = IniLineNote::Kind;
    for (const IniLineNote& note : ini.notes()) {
        QString message;
        QString code = QStringLiteral("ini-ignored");
        switch (note.kind) {
        case Kind::NoEquals:
            message = QStringLiteral("the line %1 has no \"=\" and is ignored").arg(shown(note.text));
            break;
        case Kind::NoKeyName:
            message = QStringLiteral("the line %1 has no key before its \"=\" and is ignored")
                          .arg(shown(note.text));
            break;
        case Kind::BeforeFirstSection:
            message = QStringLiteral("the line %1 comes before the first [section] and is ignored")
                          .arg(shown(note.text));
            break;
        case Kind::RepeatedSection:
            message = QStringLiteral("the section [%1] appears earlier in the file; only the first is read, "
                                     "this one is ignored")
                          .arg(ansiToQString(note.text));
            break;
        case Kind::RepeatedKey:
            message = QStringLiteral("the key %1 appears earlier in its section; only the first is read, "
                                     "this line is ignored")
                          .arg(shown(note.text));
            break;
        case Kind::ValueCut:
            code = QStringLiteral("value-cut");
            message = QStringLiteral("the value of %1 is longer than 1023 characters; the rest is lost")
                          .arg(shown(note.text));
            break;
        case Kind::KeyListCut:
            code = QStringLiteral("value-cut");
            message = QStringLiteral("the key names of this section pass 8192 bytes from %1 on; "
                                     "those lines are lost")
                          .arg(shown(note.text));
            break;
        }
        out.warning(code, file, note.line, message);
    }
}

void reportUnread(const IniFile& ini, const QString& file, const IniLayout& layout, int count, Findings& out)
{
    const QByteArray prefix = QByteArrayLiteral("Topics ");
    QSet<QString> seen; // folded: a file may hold very many sections
    for (const QByteArray& section : ini.sectionNames()) {
        const QString folded = ansiToQString(section).toCaseFolded();
        if (seen.contains(folded))
            continue; // a repeated section is reported with the notes
        seen.insert(folded);
        const int line = ini.sectionLine(section);
        QList<QByteArray> known;
        if (equalsFolded(section, QByteArrayLiteral("Info"))) {
            known = layout.infoKeys;
        } else if (layout.hasMaterials && equalsFolded(section, QByteArrayLiteral("Materials"))) {
            continue;
        } else if (section.size() > prefix.size() && equalsFolded(section.left(prefix.size()), prefix)) {
            const QByteArray number = section.mid(prefix.size());
            bool ok = false;
            const int n = number.toInt(&ok);
            if (!ok || number != QByteArray::number(n)) {
                out.warning(QStringLiteral("section-unread"), file, line,
                            QStringLiteral("the section [%1] is never read: steps are numbered [Topics 1], "
                                           "[Topics 2], ... without leading zeros or blanks")
                                .arg(ansiToQString(section)));
                continue;
            }
            if (count >= 0 && (n < 1 || n > count)) {
                out.warning(QStringLiteral("section-unread"), file, line,
                            QStringLiteral("the section [%1] is never read: %2 is %3")
                                .arg(ansiToQString(section), ansiToQString(layout.countKey))
                                .arg(count));
                continue;
            }
            known = layout.topicKeys;
        } else {
            out.warning(QStringLiteral("section-unread"), file, line,
                        QStringLiteral("the section [%1] is never read").arg(ansiToQString(section)));
            continue;
        }
        for (const QByteArray& key : ini.readSectionKeys(section))
            if (!containsFolded(known, key))
                out.warning(QStringLiteral("key-unread"), file, ini.lineOf(section, key),
                            QStringLiteral("the key %1 in [%2] is never read (the keys read there are %3)")
                                .arg(shown(key), ansiToQString(section),
                                     ansiToQString(known.join(QByteArrayLiteral(", ")))));
    }
}

} // namespace hw::check
