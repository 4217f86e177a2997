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

class IniFile {
public:
    // Reads the whole file at once; a file that cannot be read behaves as an empty one.
    explicit IniFile(const QString& absolutePath);
    // From bytes in memory (tests and fuzzing).
    static IniFile fromBytes(const QByteArray& bytes);

    QByteArray readString(const QByteArray& section, const QByteArray& key,
                          const QByteArray& defaultValue) const;
    // The key names of section in file order, as a caller with an 8192-byte buffer sees
    // them: names beyond the buffer are lost and the last one cut short.
    QList<QByteArray> readSectionKeys(const QByteArray& section) const;

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
    };
    struct Section {
        Span name;
        uint32_t nameHash = 0;
        size_t firstEntry = 0; // a section's entries are consecutive in entries_
        size_t entryCount = 0;
    };
    const Section* findSection(const QByteArray& name) const;
    QByteArrayView view(Span span) const;

    QByteArray bytes_;
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
};

} // namespace hw
