#pragma once
// FFmpeg's messages go to the logging category "hw.media.libav" (debug, off by default)
// instead of the program's standard error.

namespace hw::media {

void routeLibavLog();

} // namespace hw::media
