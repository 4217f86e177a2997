// The library check on a whole lesson tree written from the input: a run of records, each
// a name (one length byte, then the bytes) and the file's bytes (a little-endian 32-bit
// length, then the bytes, cut at the input's end). Names are the file system's own bytes,
// '/' between folders, so a backslash, a ".." spelt inside a name or bytes that are not
// UTF-8 reach the check as an author's disc would give them. The check must finish with a
// report whose every finding is well formed, and its text output must hold no control
// characters but the line ends.
#include "FuzzTargets.h"

#include "hw/check/LibraryCheck.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hw::fuzz {
namespace {

constexpr int kMostRecords = 48;

uint32_t u32(Input& in)
{
    const uint32_t low = in.u16();
    return low | uint32_t(in.u16()) << 16;
}

// Writes one record under root; names that would leave the tree are skipped (the tree, not
// the check, would be at fault).
void writeRecord(const QByteArray& root, const QByteArray& name, const QByteArray& bytes)
{
    if (name.isEmpty() || name.contains('\0'))
        return;
    QByteArray path = root;
    const QList<QByteArray> parts = name.split('/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QByteArray& part = parts[i];
        if (part.isEmpty() || part == "." || part == "..")
            return;
        path += '/' + part;
        if (i + 1 < parts.size())
            ::mkdir(path.constData(), 0700);
    }
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
}

} // namespace

int libraryCheck(const uint8_t* data, size_t size)
{
    initialize();
    QTemporaryDir dir;
    if (!dir.isValid())
        return 0;
    const QByteArray root = QFile::encodeName(dir.path());
    Input in(data, size);
    for (int record = 0; record < kMostRecords && in.remaining() > 0; ++record) {
        const size_t nameSize = std::min<size_t>(in.byte(), in.remaining());
        const QByteArray name(reinterpret_cast<const char*>(in.rest()), qsizetype(nameSize));
        for (size_t i = 0; i < nameSize; ++i)
            in.byte();
        const size_t fileSize = std::min<size_t>(u32(in), in.remaining());
        const QByteArray bytes(reinterpret_cast<const char*>(in.rest()), qsizetype(fileSize));
        for (size_t i = 0; i < fileSize; ++i)
            in.byte();
        writeRecord(root, name, bytes);
    }

    const check::CheckReport report = check::checkLibrary(QDir(dir.path()));
    for (const check::Finding& f : report.findings) {
        check(!f.code.isEmpty() && !f.message.isEmpty(), "a finding without code or message");
        check(f.line >= 0, "a finding at a negative line");
        check(!f.file.startsWith(QLatin1Char('/')) && !f.file.startsWith(QLatin1String("..")),
              "a finding about a file outside the library: " + f.file.toStdString());
    }
    const QString text = check::formatText(report);
    for (const QChar c : text)
        check(c == QLatin1Char('\n') || (c.unicode() >= 0x20 && (c.unicode() < 0x7F || c.unicode() >= 0xA0)),
              "a control character in the text output");
    const QJsonDocument json = QJsonDocument::fromJson(check::formatJson(report));
    check(json.isObject()
              && json.object().value(QStringLiteral("errors")).toInt(-1)
                  == report.count(check::Severity::Error),
          "the JSON output does not read back");
    return 0;
}

} // namespace hw::fuzz
