#include "hw/listen/SpokenCommand.h"

#include <array>
#include <utility>

namespace hw {

namespace {
constexpr std::array<std::pair<SpokenCommand, std::string_view>, 7> kWords{{
    {SpokenCommand::Play, "play"},
    {SpokenCommand::Stop, "stop"},
    {SpokenCommand::Again, "again"},
    {SpokenCommand::Next, "next"},
    {SpokenCommand::Back, "back"},
    {SpokenCommand::Slower, "slower"},
    {SpokenCommand::Faster, "faster"},
}};
} // namespace

std::string_view commandWord(SpokenCommand command)
{
    for (const auto& [c, word] : kWords)
        if (c == command)
            return word;
    return {};
}

std::optional<SpokenCommand> commandFromWord(std::string_view word)
{
    for (const auto& [c, w] : kWords)
        if (w == word)
            return c;
    return std::nullopt;
}

} // namespace hw
