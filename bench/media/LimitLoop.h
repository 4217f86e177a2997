#pragma once
// The limit the device is measured against: a plain libav loop that seeks to the keyframe
// at or before the target and decodes up to it, with nothing else around it.
#include <QString>

#include <memory>

namespace bench {

class LimitLoop {
public:
    explicit LimitLoop(const QString& path);
    ~LimitLoop();
    bool ok() const;
    // Decodes frame slot `frame` (the frame tagged with that slot); returns microseconds.
    double showFrame(int frame);
    // Decodes the next frame after the last one shown; microseconds.
    double nextFrame();

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace bench
