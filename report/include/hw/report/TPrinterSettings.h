#pragma once
// The per-job settings a report asks of the printer.
#include "hw/report/TReportPage.h"

namespace hw {

// Paper sources; the value is the system paper-source code (First is 1).
enum class TOutputBin {
    First = 1,
    Lower = 2,
    Middle = 3,
    Manual = 4,
    Envelope = 5,
    EnvManual = 6,
    Auto = 7,
    Tractor = 8,
    SmallFormat = 9,
    LargeFormat = 10,
    LargeCapacity = 11,
    Cassette = 14,
    FormSource = 15
};

struct TPrinterSettings {
    int copies = 1;
    bool duplex = false; // never sent: the printer keeps its own duplex setting
    int firstPage = 0;   // 0: no lower bound
    int lastPage = 0;    // 0: no upper bound
    TOutputBin outputBin = TOutputBin::First;
    // Taken from the report's page when a job begins.
    TPaperSize paperSize = TPaperSize::Letter;
    TReportOrientation orientation = poPortrait;
    double customLength = 0.0;
    double customWidth = 0.0;

    // True when page n (1-based) lies in firstPage..lastPage.
    bool pageInRange(int page) const
    {
        return (firstPage <= 0 || page >= firstPage) && (lastPage <= 0 || page <= lastPage);
    }
};

} // namespace hw
