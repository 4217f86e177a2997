#include "hw/tutor/WindowKeys.h"

namespace hw {

const std::vector<KeyHelp>& windowKeys()
{
    static const std::vector<KeyHelp> keys = [] {
        const char* const rows[][2] = {
            {"Tab, Shift+Tab", "move between the controls on the screen"},
            {"Space or Return", "press the focused button; in the gallery, open the focused pattern"},
            {"Arrow keys, Home, End, Page Up, Page Down (in the gallery)",
             "select another picture, which opens its lesson at once, as a click does"},
            {"Up, Down, Home, End, Page Up, Page Down (in the topic list)", "choose another topic"},
            {"Home, End, Page Up, Page Down (in the instruction list)", "scroll the list"},
            {"Space", "Play / Stop, wherever the Play button is shown"},
            {"Left, Right", "one frame back or forward (Techniques and pattern lessons)"},
            {"Home (no list focused)", "rewind to the topic's first frame"},
            {"Page Up, Page Down (no list focused)", "previous or next topic"},
            {"L", "loop this step: Play repeats the topic until stopped"},
            {"S", "speed: normal, half, quarter, normal again"},
            {"[, ]", "slower, faster"},
            {"M", "mute or unmute the sound"},
            {"+, -", "louder, softer"},
            {"C", "show or hide captions"},
            {"V", "listen for spoken commands, or stop listening"},
            {"F or a double-click on the video",
             "the practice view: the lesson over the whole screen, or back"},
            {"Esc (practice view)", "back to the tutor window"},
            {"Wheel, drag (practice view)", "zoom about the pointer (up to 4 times), pan"},
            {"0 (practice view)", "the whole picture again"},
            {"F1 or ?", "this list of keys"},
        };
        std::vector<KeyHelp> list;
        for (const auto& row : rows)
            list.push_back({QString::fromUtf8(row[0]), QString::fromUtf8(row[1])});
        return list;
    }();
    return keys;
}

} // namespace hw
