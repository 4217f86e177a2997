#pragma once
// The nine buttons of a player's bar, and a set of them.
#include <cstdint>
#include <initializer_list>

namespace hw {

enum class TMPBtnType : uint8_t {
    btPlay,
    btPause,
    btStop,
    btNext,
    btPrev,
    btStep,
    btBack,
    btRecord,
    btEject
};

inline constexpr int kMediaButtonCount = 9;

class TButtonSet {
public:
    constexpr TButtonSet() = default;
    constexpr TButtonSet(std::initializer_list<TMPBtnType> buttons)
    {
        for (TMPBtnType b : buttons)
            bits_ = static_cast<uint16_t>(bits_ | bit(b));
    }
    static constexpr TButtonSet all()
    {
        TButtonSet s;
        s.bits_ = (1u << kMediaButtonCount) - 1;
        return s;
    }

    constexpr bool contains(TMPBtnType b) const { return (bits_ & bit(b)) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr TButtonSet& insert(TMPBtnType b)
    {
        bits_ = static_cast<uint16_t>(bits_ | bit(b));
        return *this;
    }
    constexpr TButtonSet& remove(TMPBtnType b)
    {
        bits_ = static_cast<uint16_t>(bits_ & ~bit(b));
        return *this;
    }
    constexpr bool operator==(const TButtonSet&) const = default;

private:
    static constexpr uint16_t bit(TMPBtnType b)
    {
        return static_cast<uint16_t>(1u << static_cast<unsigned>(b));
    }
    uint16_t bits_ = 0;
};

} // namespace hw
