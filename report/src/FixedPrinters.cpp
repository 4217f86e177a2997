#include "hw/report/ReportTesting.h"

#include <QPrinter>

namespace hw {
namespace {

class FixedPrinters final : public PrinterSystem {
public:
    FixedPrinters(QStringList names, QString defaultName, QList<QPageSize> sizes, PrinterFactory factory)
        : names_(std::move(names))
        , default_(std::move(defaultName))
        , sizes_(std::move(sizes))
        , factory_(std::move(factory))
    {
        if (sizes_.isEmpty())
            sizes_.append(QPageSize(QPageSize::A4));
    }
    QStringList printerNames() const override { return names_; }
    QString defaultPrinterName() const override { return default_; }
    QList<QPageSize> supportedPageSizes(const QString& printer) const override
    {
        return names_.contains(printer) ? sizes_ : QList<QPageSize>();
    }
    QPageSize defaultPageSize(const QString& printer) const override
    {
        return names_.contains(printer) ? sizes_.first() : QPageSize();
    }
    std::unique_ptr<QPrinter> createPrinter(const QString& printer) const override
    {
        if (factory_)
            return factory_(printer);
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setPrinterName(printer);
        return p;
    }

private:
    QStringList names_;
    QString default_;
    QList<QPageSize> sizes_;
    PrinterFactory factory_;
};

} // namespace

std::shared_ptr<PrinterSystem> fixedPrinters(const QStringList& names, const QString& defaultName,
                                             const QList<QPageSize>& pageSizes, PrinterFactory factory)
{
    return std::make_shared<FixedPrinters>(names, defaultName, pageSizes, std::move(factory));
}

} // namespace hw
