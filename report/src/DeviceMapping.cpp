#include "hw/report/TDeviceMapping.h"
#include "hw/report/ReportUnits.h"

#include <cmath>

namespace hw {
namespace {
int roundToInt(double v)
{
    return static_cast<int>(std::lround(v));
}
} // namespace

int TDeviceMapping::x(double tenths) const
{
    return roundToInt((tenths - offsetLeft) * dpiX / kTenthsPerInch);
}

int TDeviceMapping::y(double tenths) const
{
    return roundToInt((tenths - offsetTop) * dpiY / kTenthsPerInch);
}

int TDeviceMapping::width(double tenths) const
{
    return roundToInt(tenths * dpiX / kTenthsPerInch);
}

int TDeviceMapping::height(double tenths) const
{
    return roundToInt(tenths * dpiY / kTenthsPerInch);
}

QRect TDeviceMapping::rect(double left, double top, double w, double h) const
{
    return QRect(x(left), y(top), width(w), height(h));
}

double TDeviceMapping::toTenthsX(double pixels) const
{
    return pixels * kTenthsPerInch / dpiX;
}

double TDeviceMapping::toTenthsY(double pixels) const
{
    return pixels * kTenthsPerInch / dpiY;
}

int TDeviceMapping::lineWidthX(int points) const
{
    return roundToInt(dpiX * points / 72.0);
}

int TDeviceMapping::lineHeightY(int points) const
{
    return roundToInt(dpiY * points / 72.0);
}

} // namespace hw
