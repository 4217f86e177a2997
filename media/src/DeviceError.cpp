#include "DeviceError.h"

namespace hw::media {

QString deviceErrorText(uint32_t code, const QString& fileName)
{
    switch (code) {
    case kOk:
        return QStringLiteral("The specified command was carried out.");
    case kFileNotFound:
        return QStringLiteral("Cannot find the specified file. Make sure the path and filename are correct.");
    case kNotAVideo:
        return QStringLiteral("The specified file holds no video that this device can play.");
    case kNoDecoder:
        return QStringLiteral("No decoder is installed for the video in the specified file.");
    case kUnreadable:
        return QStringLiteral("The specified file cannot be read: it is damaged or not a video file.");
    case kOutOfRange:
        return QStringLiteral("The specified parameter is out of range for the specified command.");
    case kNoFileName:
        return QStringLiteral("No file name was given to open.");
    case kDeviceTypeUnavailable:
        return QStringLiteral("The specified device type is not available on this system.");
    case kUnsupportedFormat:
        return QStringLiteral("The video in the specified file has no frame index this device can use.");
    case kBadTimeFormat:
        return QStringLiteral("The specified time format is invalid.");
    case kCannotRecord:
        return QStringLiteral("This device cannot record.");
    case kCannotEject:
        return QStringLiteral("This device has no media to eject.");
    case kNotLocalMedia:
        return QStringLiteral("Cannot open file %1").arg(fileName);
    default:
        return QStringLiteral("Unknown error code");
    }
}

} // namespace hw::media
