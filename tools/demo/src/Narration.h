#pragma once
// The sound of the demo clips: each step's narration, spoken by espeak-ng while the step
// plays, and a short chime made with sox for the splash. Both programs give the same bytes
// for the same input, so the library stays the same from run to run.
#include <QString>

#include <cstdint>
#include <vector>

namespace hw::demo {

inline constexpr int kSoundRate = 22050;                 // 16-bit mono PCM
inline constexpr int kNarrationLeadFrames = 2;           // silence before the voice starts
inline constexpr int kNarrationTailFrames = 5;           // silence after it, before the next step
inline constexpr int kLinePauseSamples = kSoundRate / 5; // between two lines of one step

using Sound = std::vector<int16_t>;

// How long a line takes to say at the usual pace, as planned.
double lineSeconds(const QString& line);

// Frames a step needs so that its narration, its lines said one after another at the usual
// pace, fits between the lead and the tail silences.
int narrationFrames(const std::vector<QString>& lines, int framesPerSecond);

struct Utterance {
    QString text;
    int maxSamples; // the longest the speech may run, the silence round it left out
};

// Speaks every utterance, `threads` processes at a time. One that runs longer than it may
// is spoken again, faster; false with *error set when that does not help, or when
// espeak-ng cannot be run.
bool speak(const std::vector<Utterance>& lines, std::vector<Sound>* sounds, int threads, QString* error);

// A short plucked chord, `seconds` long.
bool makeChime(double seconds, Sound* sound, QString* error);

// The samples of a 16-bit mono WAV file at kSoundRate (as the two programs write it to a
// pipe, where the data size may be a placeholder). False with *error set otherwise.
bool readWav(const QByteArray& bytes, Sound* sound, QString* error);

} // namespace hw::demo
