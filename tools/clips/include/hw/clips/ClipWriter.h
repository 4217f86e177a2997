#pragma once
// Writes AVI clips frame by frame through FFmpeg, for the demo library, the stamped test
// clips and the benchmarks, with a sound track beside the pictures if asked for.
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace hw {

struct ClipFormat {
    QString codec = QStringLiteral(
        "mjpeg"); // an FFmpeg encoder name: mjpeg, cinepak, mpeg4, libx264, msvideo1, rawvideo...
    QSize size{320, 240};
    int framesPerSecond = 15;
    int keyframeInterval = 1; // 1 = every frame a keyframe
    bool bFrames = false;     // allow B-frames (mpeg4, libx264)
    int quality = 4;          // codec quality scale where it applies (lower is better)
    int soundRate = 0;        // samples a second of a 16-bit mono PCM track; 0: no sound
};

class ClipWriter {
public:
    ClipWriter();
    ~ClipWriter();
    ClipWriter(const ClipWriter&) = delete;
    ClipWriter& operator=(const ClipWriter&) = delete;

    // Creates the file; returns false with errorText() set when it cannot.
    bool open(const QString& path, const ClipFormat& format);
    // Appends one frame (scaled to the clip's size if it differs). False on failure.
    bool addFrame(const QImage& frame);
    // Leaves one frame slot empty (an AVI dropped-frame chunk): players repeat the
    // previous picture there. Only between two frames: a gap at the end is not written.
    bool addEmptyFrame();
    // Appends count samples to the sound track; the track runs on from where the last call
    // ended, at the clip's soundRate. Feed it beside the frames (say one frame's worth after
    // each) so that sound and pictures lie interleaved in the file.
    bool addSound(const int16_t* samples, int count);
    // Flushes and closes the file. False on failure.
    bool finish();
    int framesWritten() const;
    QString errorText() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace hw
