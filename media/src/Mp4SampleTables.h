#pragma once
// A look at an MP4/MOV file's sample tables before libavformat reads them. The library
// builds its index for every sample the tables claim (24 bytes each), all at once while
// the file opens, so a few bytes that claim millions of samples would cost gigabytes
// before anything could be checked.
#include <cstdint>

class QIODevice;

namespace hw::media {

// Whether a track of the MP4/MOV file claims samples of a fixed size that together are
// larger than the whole file. False for a file that is not an MP4 at all.
bool sampleTablesExceedFile(QIODevice& file);

} // namespace hw::media
