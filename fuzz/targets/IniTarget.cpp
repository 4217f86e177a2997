// The INI reader against a plain re-reading of the text: for every section and key the
// text names (and the names the catalogue asks for), readString and readSectionKeys must
// give what a line-by-line scan of the first matching section gives, within the value
// and key-list buffers.
#include "FuzzTargets.h"

#include "AnsiCase.h"
#include "Materials.h"
#include "hw/content/IniFile.h"

#include <QByteArray>
#include <QList>

#include <set>

namespace hw::fuzz {
namespace {

constexpr qsizetype kValueLimit = 1023;
constexpr qsizetype kKeyListBuffer = 8192;

bool blank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimmed(QByteArray s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

std::string show(const QByteArray& bytes)
{
    return bytes.toPercentEncoding(" []=;\"'").toStdString();
}

// The text as lines: CR, LF and CRLF end a line (an empty line between CR and LF is
// harmless: empty lines hold nothing).
QList<QByteArray> linesOf(const QByteArray& text)
{
    QByteArray body = text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text;
    QList<QByteArray> lines;
    QByteArray current;
    for (char c : body) {
        if (c == '\n' || c == '\r') {
            lines.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    lines.append(current);
    return lines;
}

struct Line {
    enum Kind { Nothing, Head, Pair } kind = Nothing;
    QByteArray name;  // section name or key
    QByteArray value; // for pairs
};

Line classify(const QByteArray& raw)
{
    const QByteArray line = trimmed(raw);
    Line l;
    if (line.isEmpty() || line[0] == ';')
        return l;
    if (line[0] == '[') {
        qsizetype close = line.indexOf(']');
        if (close < 0)
            close = line.size();
        l.kind = Line::Head;
        l.name = trimmed(line.mid(1, close - 1));
        return l;
    }
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return l;
    const QByteArray key = trimmed(line.left(eq));
    if (key.isEmpty())
        return l;
    l.kind = Line::Pair;
    l.name = key;
    l.value = trimmed(line.mid(eq + 1));
    return l;
}

// The entries of the first section named section (without regard to case), in order;
// false when there is no such section.
bool sectionEntries(const QList<Line>& lines, const QByteArray& section, QList<Line>& out)
{
    bool inside = false;
    bool found = false;
    for (const Line& l : lines) {
        if (l.kind == Line::Head) {
            if (inside)
                return true; // the first section of the name has ended
            if (equalsIgnoringAnsiCase(l.name, section)) {
                inside = true;
                found = true;
            }
        } else if (l.kind == Line::Pair && inside) {
            out.append(l);
        }
    }
    return found;
}

QByteArray referenceValue(bool found, const QList<Line>& entries, const QByteArray& key,
                          const QByteArray& fallback)
{
    if (!found)
        return fallback;
    for (const Line& l : entries) {
        if (!equalsIgnoringAnsiCase(l.name, key))
            continue;
        QByteArray v = l.value;
        if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
            v = v.mid(1, v.size() - 2);
        if (const qsizetype nul = v.indexOf('\0'); nul >= 0)
            v.truncate(nul);
        return v.left(kValueLimit);
    }
    return fallback;
}

// The key names as a caller reads them out of a buffer of 8192 bytes that the names fill
// NUL-terminated, the list ended by a second NUL, cut two bytes before its end when they
// do not fit.
QList<QByteArray> referenceKeys(const QList<Line>& entries)
{
    QList<QByteArray> keys;
    std::string buffer;
    for (const Line& l : entries) {
        buffer.append(l.name.constData(), size_t(l.name.size()));
        buffer.push_back('\0');
    }
    if (buffer.size() + 1 > size_t(kKeyListBuffer))
        buffer.resize(size_t(kKeyListBuffer - 2));
    buffer.append(2, '\0');
    size_t pos = 0;
    while (buffer[pos] != '\0') {
        const size_t end = buffer.find('\0', pos);
        keys.append(QByteArray(buffer.data() + pos, qsizetype(end - pos)));
        pos = end + 1;
    }
    return keys;
}

} // namespace

int iniFile(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const IniFile ini = IniFile::fromBytes(text);

    QList<Line> lines;
    for (const QByteArray& raw : linesOf(text))
        lines.append(classify(raw));

    // The names the catalogue asks for, and every name the text holds (a few case
    // variants of each, so that folding is exercised).
    std::set<QByteArray> sections = {"Info", "Topics 1", "Topics 2", "Materials", ""};
    std::set<QByteArray> keys
        = {"name", "numsteps", "NumTopics", "title", "Title", "StartFrame", "StopFrame", "Offset", ""};
    for (const Line& l : lines) {
        if (l.kind == Line::Nothing)
            continue;
        std::set<QByteArray>& names = l.kind == Line::Head ? sections : keys;
        if (names.size() > 48)
            continue;
        names.insert(l.name);
        names.insert(l.name.toUpper());
        names.insert(l.name.toLower());
    }

    const QByteArray fallback("\x01 default \x02");
    for (const QByteArray& section : sections) {
        QList<Line> entries;
        const bool found = sectionEntries(lines, section, entries);
        for (const QByteArray& key : keys) {
            const QByteArray got = ini.readString(section, key, fallback);
            const QByteArray want = referenceValue(found, entries, key, fallback);
            check(got == want,
                  "readString [" + show(section) + "] " + show(key) + ": got '" + show(got) + "', want '"
                      + show(want) + "'");
            check(got == fallback || (got.size() <= kValueLimit && !got.contains('\0')),
                  "a value overruns the 1024-byte buffer or holds a NUL");
            // The checkers' hook points at a line exactly when a value is read from one.
            const int line = ini.lineOf(section, key);
            check((got == fallback || line > 0) && line <= lines.size(),
                  "lineOf [" + show(section) + "] " + show(key) + " is " + std::to_string(line));
        }
        const QList<QByteArray> gotKeys = ini.readSectionKeys(section);
        const QList<QByteArray> wantKeys = referenceKeys(entries);
        check(gotKeys == wantKeys,
              "readSectionKeys [" + show(section) + "]: " + std::to_string(gotKeys.size()) + " names, want "
                  + std::to_string(wantKeys.size()));
        qsizetype used = 1;
        for (const QByteArray& k : gotKeys) {
            used += k.size() + 1;
            check(!k.isEmpty() && !k.contains('\0'), "an empty or NUL-holding key name");
        }
        check(used <= kKeyListBuffer, "the key list overruns the 8192-byte buffer");
    }

    for (const IniLineNote& note : ini.notes())
        check(note.line >= 1 && note.line <= lines.size(),
              "a note outside the text: line " + std::to_string(note.line));

    // Materials: one non-empty line per distinct key (folded) at most, each a value.
    const QList<QByteArray> materials = readMaterials(ini, "Materials");
    const QList<QByteArray> materialKeys = ini.readSectionKeys("Materials");
    check(materials.size() <= materialKeys.size(), "more materials lines than keys");
    for (const QByteArray& line : materials)
        check(!line.isEmpty() && line.size() <= kValueLimit, "an empty or overlong materials line");
    return 0;
}

} // namespace hw::fuzz
