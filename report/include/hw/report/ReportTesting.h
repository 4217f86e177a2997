#pragma once
// A stand-in for the installed printers, for tests and tools that must not reach a real
// printer: install it with setPrinterSystem. The program itself never uses it.
#include "hw/report/ReportPlatform.h"

#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;

namespace hw {

// A fixed printer list; an empty list simulates "no printer installed". Each printer offers
// `pageSizes` (its first one is its current paper; A4 when empty) and prints through
// `factory` (by default a PDF printer writing nowhere useful).
using PrinterFactory = std::function<std::unique_ptr<QPrinter>(const QString& printer)>;
std::shared_ptr<PrinterSystem> fixedPrinters(const QStringList& names, const QString& defaultName,
                                             const QList<QPageSize>& pageSizes = {},
                                             PrinterFactory factory = {});

} // namespace hw
