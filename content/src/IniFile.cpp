#include "hw/content/IniFile.h"

#include "AnsiCase.h"
#include "hw/Exception.h"
#include "hw/FileSizeLimit.h"

#include <QFileInfo>

#include <algorithm>

namespace hw {
namespace {

// What a caller of the profile functions gets through its fixed buffers.
constexpr qsizetype kValueBufferSize = 1024;
constexpr qsizetype kKeyListBufferSize = 8192;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

IniFile IniFile::open(const QString& absolutePath, const QString& shownName)
{
    IniFile ini;
    // Anything but a regular file (a folder, a named pipe, a device) reads as absent.
    if (!absolutePath.isEmpty() && QFileInfo(absolutePath).isFile()) {
        QString error;
        if (!readWholeFile(absolutePath, shownName, kMostLessonFileBytes, ini.bytes_, error)
            && QFileInfo(absolutePath).size() > kMostLessonFileBytes)
            throw EContentError(error);
    }
    ini.parse();
    return ini;
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    ini.bytes_ = bytes;
    ini.parse();
    return ini;
}

QByteArrayView IniFile::view(Span span) const
{
    return QByteArrayView(bytes_.constData() + span.begin, span.size);
}

// One pass over the text: CR, LF and CRLF end a line; blanks around names and values are
// dropped; ";" starts a comment line; a line without "=" and lines before the first
// section hold no key.
void IniFile::parse()
{
    const char* data = bytes_.constData();
    const qsizetype end = bytes_.size();
    qsizetype pos = 0;
    // Editors may put a UTF-8 signature in front of the first section head.
    if (bytes_.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    entries_.reserve(128);
    Section* current = nullptr;
    int line = 0;
    bool afterCr = false;
    while (pos < end) {
        qsizetype lineEnd = pos;
        while (lineEnd < end && data[lineEnd] != '\n' && data[lineEnd] != '\r')
            ++lineEnd;
        qsizetype b = pos;
        qsizetype e = lineEnd;
        pos = lineEnd + 1;
        // The LF of a CRLF ends no line of its own in an editor's count.
        if (!(afterCr && b == e && b < end && data[b] == '\n'))
            ++line;
        afterCr = lineEnd < end && data[lineEnd] == '\r';
        while (b < e && isBlank(data[b]))
            ++b;
        while (e > b && isBlank(data[e - 1]))
            --e;
        if (b == e || data[b] == ';')
            continue;
        if (data[b] == '[') {
            qsizetype nb = b + 1;
            qsizetype ne = nb;
            while (ne < e && data[ne] != ']')
                ++ne;
            while (nb < ne && isBlank(data[nb]))
                ++nb;
            while (ne > nb && isBlank(data[ne - 1]))
                --ne;
            Section section;
            section.name = {nb, ne - nb};
            section.nameHash = foldedAnsiHash(view(section.name));
            section.firstEntry = entries_.size();
            section.line = line;
            sections_.push_back(std::move(section));
            current = &sections_.back();
            continue;
        }
        if (!current) {
            ignored_.push_back({IniLineNote::Kind::BeforeFirstSection, line, {b, e - b}});
            continue;
        }
        qsizetype eq = b;
        while (eq < e && data[eq] != '=')
            ++eq;
        if (eq == e) {
            ignored_.push_back({IniLineNote::Kind::NoEquals, line, {b, e - b}});
            continue;
        }
        qsizetype ke = eq;
        while (ke > b && isBlank(data[ke - 1]))
            --ke;
        if (ke == b) {
            ignored_.push_back({IniLineNote::Kind::NoKeyName, line, {b, e - b}});
            continue; // "=value" names no key
        }
        qsizetype vb = eq + 1;
        while (vb < e && isBlank(data[vb]))
            ++vb;
        Entry entry;
        entry.key = {b, ke - b};
        entry.value = {vb, e - vb};
        entry.keyHash = foldedAnsiHash(view(entry.key));
        entry.line = line;
        entries_.push_back(entry);
        ++current->entryCount;
    }
    // Sections are looked up by hash: a file of very many sections (a damaged or hostile
    // one) would otherwise cost a pass over all of them for every value read. The sort is
    // stable, so among sections of one name the first in the file still comes first.
    std::stable_sort(sections_.begin(), sections_.end(),
                     [](const Section& a, const Section& b) { return a.nameHash < b.nameHash; });
    keyOrder_.resize(entries_.size());
    for (size_t i = 0; i < keyOrder_.size(); ++i)
        keyOrder_[i] = i;
    for (const Section& section : sections_) {
        const auto first = keyOrder_.begin() + static_cast<std::ptrdiff_t>(section.firstEntry);
        std::stable_sort(first, first + static_cast<std::ptrdiff_t>(section.entryCount),
                         [this](size_t a, size_t b) { return entries_[a].keyHash < entries_[b].keyHash; });
    }
}

const IniFile::Section* IniFile::findSection(QByteArrayView name) const
{
    const uint32_t hash = foldedAnsiHash(name);
    auto it = std::lower_bound(sections_.begin(), sections_.end(), hash,
                               [](const Section& section, uint32_t h) { return section.nameHash < h; });
    for (; it != sections_.end() && it->nameHash == hash; ++it)
        if (equalsIgnoringAnsiCase(view(it->name), name))
            return &*it; // a later section of the same name is never read
    return nullptr;
}

const IniFile::Entry* IniFile::findEntry(const QByteArray& section, const QByteArray& key) const
{
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    const uint32_t hash = foldedAnsiHash(key);
    const auto first = keyOrder_.begin() + static_cast<std::ptrdiff_t>(found->firstEntry);
    auto it = std::lower_bound(first, first + static_cast<std::ptrdiff_t>(found->entryCount), hash,
                               [this](size_t i, uint32_t h) { return entries_[i].keyHash < h; });
    for (; it != first + static_cast<std::ptrdiff_t>(found->entryCount) && entries_[*it].keyHash == hash;
         ++it)
        if (equalsIgnoringAnsiCase(view(entries_[*it].key), key))
            return &entries_[*it]; // the first line of the key in its section
    return nullptr;
}

QByteArray IniFile::readString(const QByteArray& section, const QByteArray& key,
                               const QByteArray& defaultValue) const
{
    const Entry* entry = findEntry(section, key);
    if (!entry)
        return defaultValue;
    QByteArrayView value = view(entry->value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    // The value reaches the caller as a C string in a fixed buffer.
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0)
        value.truncate(nul);
    if (value.size() > kValueBufferSize - 1)
        value.truncate(kValueBufferSize - 1);
    return value.toByteArray();
}

QList<QByteArray> IniFile::readSectionKeys(const QByteArray& section) const
{
    QList<QByteArray> keys;
    const Section* found = findSection(section);
    if (!found)
        return keys;
    // The names come as a list of NUL-terminated strings ended by a second NUL. When they
    // do not fit, the list is cut two bytes before the end of the buffer and two NULs
    // close it; the caller reads names up to the first empty one.
    QByteArray list;
    for (size_t i = found->firstEntry; i < found->firstEntry + found->entryCount; ++i) {
        list.append(view(entries_[i].key));
        list.append('\0');
    }
    if (list.size() + 1 > kKeyListBufferSize)
        list.truncate(kKeyListBufferSize - 2);
    qsizetype pos = 0;
    while (pos < list.size()) {
        qsizetype nul = list.indexOf('\0', pos);
        if (nul < 0)
            nul = list.size();
        if (nul == pos)
            break;
        keys.append(list.sliced(pos, nul - pos));
        pos = nul + 1;
    }
    return keys;
}

int IniFile::lineOf(const QByteArray& section, const QByteArray& key) const
{
    const Entry* entry = findEntry(section, key);
    return entry ? entry->line : 0;
}

int IniFile::sectionLine(const QByteArray& section) const
{
    const Section* found = findSection(section);
    return found ? found->line : 0;
}

QList<QByteArray> IniFile::sectionNames() const
{
    std::vector<const Section*> inFileOrder;
    for (const Section& section : sections_)
        inFileOrder.push_back(&section);
    std::sort(inFileOrder.begin(), inFileOrder.end(),
              [](const Section* a, const Section* b) { return a->line < b->line; });
    QList<QByteArray> names;
    for (const Section* section : inFileOrder)
        names.append(view(section->name).toByteArray());
    return names;
}

std::vector<IniLineNote> IniFile::notes() const
{
    std::vector<IniLineNote> out;
    for (const Ignored& i : ignored_)
        out.push_back({i.kind, i.line, view(i.text).toByteArray()});
    for (const Section& section : sections_) {
        const QByteArray name = view(section.name).toByteArray();
        if (findSection(name) != &section) {
            out.push_back({IniLineNote::Kind::RepeatedSection, section.line, name});
            continue; // nothing in it is read
        }
        // readSectionKeys lists every key line, repeated ones too.
        qsizetype listBytes = 0;
        for (size_t i = section.firstEntry; i < section.firstEntry + section.entryCount; ++i)
            listBytes += entries_[i].key.size + 1;
        const bool listCut = listBytes + 1 > kKeyListBufferSize;
        listBytes = 0;
        bool cutNoted = false;
        for (size_t i = section.firstEntry; i < section.firstEntry + section.entryCount; ++i) {
            const Entry& entry = entries_[i];
            const QByteArray key = view(entry.key).toByteArray();
            listBytes += entry.key.size + 1;
            if (listCut && !cutNoted && listBytes > kKeyListBufferSize - 2) {
                cutNoted = true;
                out.push_back({IniLineNote::Kind::KeyListCut, entry.line, key});
            }
            if (findEntry(name, key) != &entry) {
                out.push_back({IniLineNote::Kind::RepeatedKey, entry.line, key});
                continue;
            }
            QByteArrayView value = view(entry.value);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
                && value.back() == value.front())
                value = value.sliced(1, value.size() - 2);
            if (value.size() > kValueBufferSize - 1 && value.first(kValueBufferSize - 1).indexOf('\0') < 0)
                out.push_back({IniLineNote::Kind::ValueCut, entry.line, key});
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const IniLineNote& a, const IniLineNote& b) { return a.line < b.line; });
    return out;
}

} // namespace hw
