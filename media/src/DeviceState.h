#pragma once
// The clip device's own words for what it is doing and for how a command ended; the player
// turns them into its published enumerations.
#include <cstdint>

namespace hw::media {

enum class DeviceMode : uint8_t { Stopped, Playing, Seeking, Paused };

// How a command whose owner asked to hear about it ended: done, replaced by a later
// command that asked too, cut short by one that did not, or failed.
enum class Notice : uint8_t { Successful, Superseded, Aborted, Failure };

} // namespace hw::media
