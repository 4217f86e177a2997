// The engine's page file: the page pictures of one generation with the paper size and the
// resolution they were drawn at, so that a saved preview reloads exactly as it was.
#include "hw/FileReplacement.h"
#include "hw/FileSizeLimit.h"
#include "hw/Narrow.h"
#include "hw/report/TReportOutput.h"

#include <QDataStream>
#include <QFile>

namespace hw {
namespace {

constexpr quint32 kMagic = 0x48575047; // "HWPG"
constexpr quint16 kVersion = 1;
constexpr qint32 kMaxPages = 10000;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool TReportOutput::savePages(const QString& path, QString* error) const
{
    if (pages_.empty()) {
        setError(error, QStringLiteral("There are no pages to save"));
        return false;
    }
    FileReplacement replacement(path);
    QFile file(replacement.partialPath());
    if (!replacement.error().isEmpty() || !file.open(QIODevice::WriteOnly)) {
        setError(error,
                 replacement.error().isEmpty() ? QStringLiteral("Cannot create file %1").arg(path)
                                               : replacement.error());
        return false;
    }
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << mapping_.dpiX << mapping_.dpiY << paper_.width() << paper_.height()
        << static_cast<qint32>(pages_.size());
    for (const QPicture& page : pages_)
        out << page;
    file.close();
    if (out.status() != QDataStream::Ok || file.error() != QFileDevice::NoError || !replacement.commit()) {
        setError(error, QStringLiteral("Cannot write file %1").arg(path));
        return false;
    }
    return true;
}

std::unique_ptr<TReportOutput> TReportOutput::loadPages(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Cannot open file %1").arg(path));
        return nullptr;
    }
    // Read as a stream, but never beyond what a real page file holds.
    if (file.size() > kMostPageFileBytes) {
        setError(error, fileTooLargeMessage(path, file.size(), kMostPageFileBytes));
        return nullptr;
    }
    const QString invalid = QStringLiteral("%1 is not a valid page file").arg(path);
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    double dpiX = 0, dpiY = 0, width = 0, length = 0;
    qint32 count = 0;
    in >> magic >> version >> dpiX >> dpiY >> width >> length >> count;
    auto sane = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion || !sane(dpiX, 1, 10000)
        || !sane(dpiY, 1, 10000) || !sane(width, 1, 100000) || !sane(length, 1, 100000) || count < 1
        || count > kMaxPages) {
        setError(error, invalid);
        return nullptr;
    }
    std::unique_ptr<TReportOutput> out(new TReportOutput(Destination::PageImages));
    out->mapping_.dpiX = dpiX;
    out->mapping_.dpiY = dpiY;
    out->paper_ = QSizeF(width, length);
    for (qint32 i = 0; i < count; ++i) {
        // A page is its length and its picture bytes. Read here rather than by QPicture's
        // own operator, which makes room for whatever length a damaged file claims.
        quint32 size = 0;
        in >> size;
        QPicture page;
        // QDataStream reads at most an int's worth at once.
        const std::optional<int> pageBytes = fitting<int>(size);
        if (in.status() == QDataStream::Ok && pageBytes && *pageBytes > 0
            && *pageBytes <= file.bytesAvailable()) {
            QByteArray bytes(*pageBytes, Qt::Uninitialized);
            if (in.readRawData(bytes.data(), *pageBytes) == *pageBytes)
                page.setData(bytes.constData(), size);
        }
        if (in.status() != QDataStream::Ok || page.isNull()) {
            setError(error, invalid);
            return nullptr;
        }
        out->pages_.push_back(page);
    }
    out->pageCount_ = count;
    out->finished_ = true;
    out->progress_ = 100;
    return out;
}

} // namespace hw
