#pragma once
// The commands a learner can say to the tutor, and what was heard when.
#include <optional>
#include <string_view>

namespace hw {

enum class SpokenCommand { Play, Stop, Again, Next, Back, Slower, Faster };

// The command's word as the phrase list and `hacklewright-tool listen` write it: "play",
// "stop", "again", "next", "back", "slower", "faster".
std::string_view commandWord(SpokenCommand command);
std::optional<SpokenCommand> commandFromWord(std::string_view word);

struct HeardCommand {
    SpokenCommand command = SpokenCommand::Play;
    // When the phrase ended, in seconds since listening began (the time of the sound heard,
    // not of the moment it was recognised).
    double seconds = 0;
    // How much sound past the phrase's end had been heard when the command was decided, in
    // seconds: the listener's part of the time from saying to acting.
    double decidedAfter = 0;
};

} // namespace hw
