#pragma once
// A sound file read as 16 kHz mono speech, a block at a time, for the file listener.
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace hw::listen {

class SpeechFile {
public:
    // Opens a local sound file (or the sound of a clip). Throws std::runtime_error
    // ("Cannot open file %s", with why) when it cannot be read or has no sound.
    explicit SpeechFile(const QString& path);
    ~SpeechFile();
    SpeechFile(const SpeechFile&) = delete;
    SpeechFile& operator=(const SpeechFile&) = delete;

    static constexpr int kRate = 16000;
    // The next samples (appended to out); false at the end. A damaged packet is left out.
    bool next(std::vector<int16_t>& out);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace hw::listen
