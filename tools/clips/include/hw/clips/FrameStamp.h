#pragma once
// A machine-readable frame number drawn into a picture so that tests and tools can tell
// exactly which frame of a clip is on screen. It takes the picture's last rows, in the
// picture's own colours with a faint pattern that a viewer does not notice; it survives
// lossy codecs (MJPEG, MPEG-4, Cinepak, MS Video 1, H.264) and scaling of the whole
// picture, and is read back from any picture that shows the whole frame.
#include <QImage>
#include <QRect>

#include <cstdint>
#include <optional>

namespace hw {

// Where the stamp lies in a frame of the given size (a band along the bottom edge).
QRect frameStampRect(const QSize& frameSize);
// How far apart the stamp's cells are in brightness. Standard survives every codec above,
// inter-frame prediction and deblocking included; Faint is hard to see even close up but
// survives only intra-frame coding at good quality (MJPEG as the demo library writes it).
enum class StampContrast { Standard, Faint };

// Draws frame (0 .. 2^20-1) into image, over what the picture shows in the band.
void drawFrameStamp(QImage& image, int32_t frame, StampContrast contrast = StampContrast::Standard);
// Reads the stamp; nullopt when there is none or it does not check out.
std::optional<int32_t> readFrameStamp(const QImage& image);

} // namespace hw
