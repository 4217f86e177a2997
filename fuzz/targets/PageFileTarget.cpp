// The report's page file loader on arbitrary bytes: either pages with the paper and the
// resolution in the ranges a save writes, or an error message and nothing else.
#include "FuzzTargets.h"

#include "hw/report/TReportOutput.h"

#include <QFile>
#include <QTemporaryDir>

namespace hw::fuzz {

int pageFile(const uint8_t* data, size_t size)
{
    initialize();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.hwpages"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    QString error;
    const std::unique_ptr<TReportOutput> pages = TReportOutput::loadPages(path, &error);
    if (!pages) {
        check(!error.isEmpty(), "a page file refused without a message");
        return 0;
    }
    check(error.isEmpty(), "pages loaded with an error: " + error.toStdString());
    check(pages->pageCount() >= 1 && pages->pageCount() <= 10000
              && pages->storedPages() == pages->pageCount(),
          "page count out of range: " + std::to_string(pages->pageCount()));
    check(pages->dpiX() >= 1 && pages->dpiX() <= 10000 && pages->dpiY() >= 1 && pages->dpiY() <= 10000,
          "resolution out of range");
    for (int n = 1; n <= pages->pageCount(); ++n)
        check(!pages->page(n).isNull(), "an empty page " + std::to_string(n));
    return 0;
}

} // namespace hw::fuzz
