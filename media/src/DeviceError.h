#pragma once
// Result codes of device commands and their texts. 0 is success; the numbers are this
// device's own (the program never reads them), the texts are what Open raises.
#include <QString>

#include <cstdint>

namespace hw::media {

enum DeviceError : uint32_t {
    kOk = 0,
    kFileNotFound = 275,
    kNotAVideo = 277,
    kNoDecoder = 278,
    kUnreadable = 279,
    kOutOfRange = 263,
    kNoFileName = 299,
    kDeviceTypeUnavailable = 259,
    kUnsupportedFormat = 276,
    kBadTimeFormat = 37,
    kCannotRecord = 302,
    kCannotEject = 303,
    kNotLocalMedia = 304, // a playlist, a script or a container lessons do not use
};

// The text for a code, or "Unknown error code". fileName is the name the clip was opened
// by, for the texts that name it.
QString deviceErrorText(uint32_t code, const QString& fileName = {});

} // namespace hw::media
