#include "hw/report/ReportUnits.h"

namespace hw {

double toDisplayUnits(double tenths, TReportUnits units, double ppi, double zoom)
{
    switch (units) {
    case TReportUnits::MM:
        return tenths * 0.1;
    case TReportUnits::Inches:
        return tenths / kTenthsPerInch;
    case TReportUnits::Pixels:
        return tenths * ppi / kTenthsPerInch * zoom / 100.0;
    case TReportUnits::Native:
        break;
    }
    return tenths;
}

double fromDisplayUnits(double value, TReportUnits units, double ppi, double zoom)
{
    switch (units) {
    case TReportUnits::MM:
        return value * 10.0;
    case TReportUnits::Inches:
        return value * kTenthsPerInch;
    case TReportUnits::Pixels:
        return value * kTenthsPerInch / ppi * 100.0 / zoom;
    case TReportUnits::Native:
        break;
    }
    return value;
}

} // namespace hw
