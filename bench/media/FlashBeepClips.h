#pragma once
// Flash-and-beep clips, made with the ffmpeg program's lavfi sources: black pictures at 25
// frames a second where every tenth frame (0, 10, 20 …) is white, and silence but for a
// 40 ms 1 kHz beep that starts on the very sample of each white frame's time.
#include <QString>

namespace bench {

constexpr int kClipFps = 25;
constexpr int kFlashEvery = 10; // frames
constexpr int kBeepRate = 44100;

// What the clips are asked to be; each maker returns an empty string on success, else why.
// A lesson-like clip: 320x240 MJPEG, 16-bit stereo PCM, `seconds` long, in AVI.
QString makeLessonClip(const QString& path, int seconds);
// A small clip for memory: 64x48 MJPEG with 128 kb/s MP3 sound, `seconds` long, in AVI.
QString makeSmallMp3Clip(const QString& path, int seconds);
// `rounds` copies of a clip one after another (stream copy: made in seconds however long).
QString makeLooped(const QString& from, const QString& path, int rounds);
// The clip's pictures alone (stream copy).
QString makePicturesOnly(const QString& from, const QString& path);

} // namespace bench
