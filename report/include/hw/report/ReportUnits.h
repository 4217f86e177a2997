#pragma once
// Every stored page, band and element length is a floating-point number in tenths of a
// millimetre. The report's Units only choose how those values are shown; they never change
// the stored value or the printed result.

namespace hw {

enum class TReportUnits { MM, Inches, Pixels, Native };

inline constexpr double kTenthsPerInch = 254.0;
inline constexpr double kDesignPpi = 96.0;

// One design pixel (96 per inch, zoom 100) is 254 / 96 tenths of a millimetre:
// designPixels(48) == 127.0, designPixels(720) == 1905.0.
constexpr double designPixels(double pixels)
{
    return pixels * kTenthsPerInch / kDesignPpi;
}

// A stored value shown in `units` (ppi and zoom matter only for Pixels; zoom in percent).
double toDisplayUnits(double tenths, TReportUnits units, double ppi = kDesignPpi, double zoom = 100.0);
// The inverse: a value in `units` back to tenths of a millimetre.
double fromDisplayUnits(double value, TReportUnits units, double ppi = kDesignPpi, double zoom = 100.0);

} // namespace hw
