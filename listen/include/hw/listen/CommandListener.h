#pragma once
// Listens for spoken commands on a thread of its own. Made by makeCommandListener
// (hw/listen/Listening.h); the tutor holds one while listening is switched on.
#include "hw/listen/SpokenCommand.h"

#include <functional>

namespace hw {

enum class ListenState {
    Starting,     // connecting to the microphone
    Listening,    // hearing; commands may come
    NoMicrophone, // none found, or the sound server refused to capture: nothing more will come
    Ended,        // a file given as input has been heard to its end
};

class CommandListener {
public:
    virtual ~CommandListener() = default;
    // Both are called on the listener's own thread; a window posts them on to its own.
    // Set them before start().
    std::function<void(const HeardCommand&)> onHeard;
    std::function<void(ListenState)> onState;
    // Begins listening in the background and returns at once.
    virtual void start() = 0;
    // Stops listening; returns within a few milliseconds and calls nothing afterwards.
    // The destructor stops too.
    virtual void stop() = 0;
};

} // namespace hw
