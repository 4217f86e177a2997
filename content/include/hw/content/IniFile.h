#pragma once
// A private-profile (INI) reader with the semantics of the platform's profile functions:
// section and key names compared without regard to case, defaults for a missing file,
// section or key, the first matching line wins, values trimmed of blanks and of one pair
// of enclosing quotes, at most 1023 characters of a value, at most 8192 bytes of a
// section's key-name list. Bytes are taken over unconverted.
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

#include <vector>

namespace hw {

// A line the reader ignores, or a value or key list it cuts short (for content checking).
struct IniLineNote {
    enum class Kind {
        NoEquals,           // a line without "=" inside a section
        NoKeyName,          // "=value": a value without a key
        BeforeFirstSection, // a key line before any section head
        RepeatedSection,    // a later section of a name already used: never read
        RepeatedKey,        // a later line of a key already in its section: never read
        ValueCut,           // a value longer than 1023 characters: the rest is lost
        KeyListCut,         // key names beyond the 8192-byte list: lost to readSectionKeys
    };
    Kind kind;
    int line = 0;    // counted from 1; CR, LF and CRLF each end one line
    QByteArray text; // the section or key name concerned, or the line itself
};

class IniFile {
public:
    // Reads the whole file at once; a file that cannot be read behaves as an empty one. A
    // file over kMostLessonFileBytes is refused before it is read: EContentError naming
    // shownName (its content path) and its size.
    static IniFile open(const QString& absolutePath, const QString& shownName);
    // From bytes in memory (tests and fuzzing).
    static IniFile fromBytes(const QByteArray& bytes);

    QByteArray readString(const QByteArray& section, const QByteArray& key,
                          const QByteArray& defaultValue) const;
    // The key names of section in file order, as a caller with an 8192-byte buffer sees
    // them: names beyond the buffer are lost and the last one cut short.
    QList<QByteArray> readSectionKeys(const QByteArray& section) const;

    // For content checking; the reading above is the same whether or not these are asked.
    // The line of the value readString would return, or 0 when it returns the default.
    int lineOf(const QByteArray& section, const QByteArray& key) const;
    // The line of the section head that reading uses, or 0.
    int sectionLine(const QByteArray& section) const;
    // Every section name, in file order (repeated ones too).
    QList<QByteArray> sectionNames() const;
    // Every ignored line and every value or key list that reading cuts short, by line.
    std::vector<IniLineNote> notes() const;

private:
    IniFile() = default;
    void parse();

    // Offsets into bytes_; names and values already trimmed.
    struct Span {
        qsizetype begin = 0;
        qsizetype size = 0;
    };
    struct Entry {
        Span key;
        Span value;
        uint32_t keyHash = 0;
        int line = 0;
    };
    struct Section {
        Span name;
        uint32_t nameHash = 0;
        size_t firstEntry = 0; // a section's entries are consecutive in entries_
        size_t entryCount = 0;
        int line = 0;
    };
    struct Ignored {
        IniLineNote::Kind kind;
        int line = 0;
        Span text;
    };
    const Section* findSection(QByteArrayView name) const;
    const Entry* findEntry(const QByteArray& section, const QByteArray& key) const;
    QByteArrayView view(Span span) const;

    QByteArray bytes_;
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
    // Per section, the indices of its entries ordered by key hash (ties in file order):
    // a key is found by binary search however many a section holds.
    std::vector<size_t> keyOrder_;
    std::vector<Ignored> ignored_; // lines the parse skipped (not comments or blank lines)
};

} // namespace hw
