#pragma once
// Test clips made at test time, and the references the player is checked against: the
// stamp in a picture, and the frames the ffmpeg program itself decodes.
#include "WaitFor.h"
#include "hw/clips/ClipWriter.h"
#include "hw/media/TMediaPlayer.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace hw::test {

// Writes picture(n) for frames 0..frames-1 through ClipWriter; slots listed in empty are
// written as dropped frames (they repeat the picture before). The writer's error text on
// failure, empty on success.
QString writeClip(const QString& path, const ClipFormat& format, int frames,
                  const std::function<QImage(int)>& picture, const std::set<int>& empty = {});
// The same with stamped pictures; false on failure.
bool writeStampedClip(const QString& path, const ClipFormat& format, int frames,
                      const std::set<int>& empty = {});
// Encodes stamped frames with the ffmpeg program, codecArgs chosen by the caller
// (e.g. {"-c:v", "cinepak"}). False when ffmpeg is missing or fails.
bool ffmpegStampedClip(const QString& path, int frames, const QStringList& codecArgs,
                       QSize size = QSize(320, 240), int fps = 15);
// The same with pictures of the caller's making: picture(n) for frames 0..frames-1.
bool ffmpegClip(const QString& path, int frames, const std::function<QImage(int)>& picture,
                const QStringList& codecArgs, QSize size = QSize(320, 240), int fps = 15);
bool haveFfmpeg();
// Copies a clip's packets into an MP4, its video stream with this display matrix (FFmpeg's
// layout, as av_display_rotation_set and av_display_matrix_flip make it; none when empty)
// and, unless pixelShapeInContainer, with no word on its pixels' shape beside what the coded
// pictures say. False unless the written file reads back so.
bool remuxToMp4(const QString& from, const QString& to, const std::vector<int32_t>& displayMatrix,
                bool pixelShapeInContainer = true);
// The first frame as the ffmpeg program shows it (turned by its default autorotation), scaled
// to size; null when ffmpeg fails.
QImage ffmpegShownFrame(const QString& path, QSize size);
// The stamp of every frame the ffmpeg program decodes from the clip, in its numbering
// (-1 where a frame carries none).
std::vector<int> ffmpegStamps(const QString& path, QSize size = QSize(320, 240));

std::optional<int> stampOf(const QImage& picture);
// The stamp of what the player's Display widget shows, grabbed as the user would see it.
std::optional<int> displayStamp(const TMediaPlayer& player);

// Records the notices a player delivers, and NotifyValue as seen inside the handler.
struct NoticeLog {
    std::vector<TMPNotifyValues> values;
    void attach(TMediaPlayer& player);
    int count() const { return int(values.size()); }
};

} // namespace hw::test
