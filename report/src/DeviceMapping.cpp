#include "hw/report/DeviceMapping.h"
#include "hw/report/ReportUnits.h"

#include <cmath>

namespace hw {
namespace {
int roundToInt(double v)
{
    return static_cast<int>(std::lround(v));
}
} // namespace

int DeviceMapping::x(double tenths) const
{
    return roundToInt((tenths - offsetLeft) * dpiX / kTenthsPerInch);
}

int DeviceMapping::y(double tenths) const
{
    return roundToInt((tenths - offsetTop) * dpiY / kTenthsPerInch);
}

int DeviceMapping::width(double tenths) const
{
    return roundToInt(tenths * dpiX / kTenthsPerInch);
}

int DeviceMapping::height(double tenths) const
{
    return roundToInt(tenths * dpiY / kTenthsPerInch);
}

QRect DeviceMapping::rect(double left, double top, double w, double h) const
{
    return QRect(x(left), y(top), width(w), height(h));
}

int DeviceMapping::lineWidthX(int points) const
{
    return roundToInt(dpiX * points / 72.0);
}

int DeviceMapping::lineHeightY(int points) const
{
    return roundToInt(dpiY * points / 72.0);
}

} // namespace hw
