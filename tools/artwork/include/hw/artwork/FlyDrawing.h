#pragma once
// Side-view drawings of tied flies, built from the parts a tyer adds one by one, so that the
// same drawing serves the pattern pictures, the recipe-card pictures, the logos and every
// stage of a tying demonstration.
#include <QColor>
#include <QPainter>
#include <QRectF>

#include <cstdint>

namespace hw {

// The parts a tyer adds. Their order here only numbers them; each pattern's steps give the
// order they are tied in.
enum class FlyPart : uint8_t {
    Thread, // thread base along the shank
    Tail,
    Post,         // upright wing post (parachutes) or upright divided wings
    ExtendedBody, // hopper, cricket or worm body reaching past the bend
    Body,         // abdomen on the shank; an ant's rear hump
    Rib,
    Wing, // down-wing, hair wing, or a shell or wing case pulled over
    Legs,
    Thorax,     // also an ant's front hump
    Hackle,     // collar or parachute hackle
    Head,       // thread head, bead, bullet head, or a spun head once trimmed
    Underbody,  // yarn wrapped on the shank under the body
    Palmer,     // hackle palmered over the abdomen
    ShellTieIn, // shell hair, foam or wing-case strip tied in and lying back, not yet pulled over
    SpunHair,   // deer hair spun on the shank, not yet trimmed
};
inline constexpr int kFlyPartCount = 15;
// A part's number, as a demonstration step holds it (where -1 is no part).
constexpr int partNumber(FlyPart p)
{
    return static_cast<int>(p);
}

// A set of parts, one bit per FlyPart.
class FlyParts {
public:
    constexpr FlyParts() = default;
    constexpr FlyParts(std::initializer_list<FlyPart> parts)
    {
        for (FlyPart p : parts)
            bits_ |= bit(p);
    }
    static constexpr FlyParts all()
    {
        FlyParts s;
        s.bits_ = (1u << kFlyPartCount) - 1;
        return s;
    }
    constexpr bool has(FlyPart p) const { return bits_ & bit(p); }
    constexpr FlyParts with(FlyPart p) const
    {
        FlyParts s = *this;
        s.bits_ |= bit(p);
        return s;
    }
    constexpr FlyParts operator|(FlyParts other) const
    {
        FlyParts s = *this;
        s.bits_ |= other.bits_;
        return s;
    }
    constexpr bool empty() const { return bits_ == 0; }

private:
    static constexpr uint32_t bit(FlyPart p) { return 1u << static_cast<uint32_t>(p); }
    uint32_t bits_ = 0;
};

enum class TailStyle : uint8_t { None, HackleFibres, Squirrel, Tippets, Hair };
enum class PostStyle : uint8_t { None, Parachute, DividedWings };
enum class ExtendedStyle : uint8_t { None, Hopper, Cricket, Worm };
enum class BodyStyle : uint8_t { None, Dubbed, Floss, Peacock, Coachman, AntHumps };
enum class RibStyle : uint8_t { None, Tinsel };
enum class WingStyle : uint8_t { None, Quill, Hair, Shell, WingCase };
enum class LegStyle : uint8_t { None, Kicking, Spindly, Soft, Fibres };
enum class HackleStyle : uint8_t { None, Collar, Parachute, Palmered, CollarAndPalmer };
enum class HeadStyle : uint8_t { Thread, Bullet, Bead, Clipped, Square };
enum class HookShape : uint8_t { Straight, Curved };

struct FlyLook {
    HookShape hook = HookShape::Straight;
    QColor thread{40, 40, 40};
    TailStyle tail = TailStyle::None;
    QColor tailColour{140, 110, 80};
    double tailLength = 98; // past the bend, in drawing units: a dry fly's is about a shank
    PostStyle post = PostStyle::None;
    QColor postColour{245, 245, 240};
    double postX = 62; // where the post stands on the shank, in drawing units
    double postHeight = 40;
    QColor underbodyColour; // invalid: no underbody
    double underbodyFront = 66;
    ExtendedStyle extended = ExtendedStyle::None;
    QColor extendedColour{220, 200, 120};
    BodyStyle body = BodyStyle::None;
    QColor bodyColour{150, 130, 100};
    double bodyFront = 70; // where the abdomen ends towards the eye, in drawing units
    RibStyle rib = RibStyle::None;
    QColor ribColour{212, 175, 55};
    WingStyle wing = WingStyle::None;
    QColor wingColour{120, 90, 60};
    bool hairShell = false; // a shell of hair rather than foam
    LegStyle legs = LegStyle::None;
    QColor legColour{90, 70, 50};
    QColor thoraxColour; // invalid: no thorax
    HackleStyle hackle = HackleStyle::None;
    QColor hackleColour{130, 80, 40};
    bool grizzly = false; // barred hackle
    HeadStyle head = HeadStyle::Thread;
    QColor headColour{40, 40, 40};
};

enum class FlyKind : uint8_t {
    BulletHeadHopper,
    DeerHairCricket,
    ParachuteAdams,
    HaresEarNymph,
    ParachuteHopper,
    DeerHairAnt,
    FoamBeetle,
    RoyalCoachman,
    Stimulator,
    ElkHairCaddis,
    Inchworm,
    Humpy,
};
inline constexpr int kFlyKindCount = 12;

FlyLook flyLook(FlyKind kind);

// The drawing's own coordinate box; the hook eye is on the left, the bend on the right.
inline constexpr double kFlyWidth = 200;
inline constexpr double kFlyHeight = 120;

struct FlyStage {
    FlyParts done;         // parts already finished
    int active = -1;       // a FlyPart being tied, or -1
    double progress = 1.0; // how far the active part has got, 0..1
    // Parts whose material is tied in and hangs from its tie-in point until it is wound; of
    // those, the ones tied in during this stage appear as it goes on.
    FlyParts waiting;
    FlyParts arriving;
};

// The part of the drawing box that the finished fly covers, for pictures that show the
// fly as large as they can.
QRectF flyBounds(const FlyLook& look);

// Draws the fly into target, mapping frame (a box in drawing units, the whole drawing box by
// default) onto it with the proportions kept and centred. mirrored puts the eye on the
// right, the way a right-handed tyer sees the fly in the vise.
// Which parts of a stage to paint: all of them, or only those lying below the active part,
// the active part itself, or those above it. Animations paint the still layers once.
enum class FlyLayer { All, BelowActive, Active, AboveActive };

void drawFly(QPainter& painter, const QRectF& target, const FlyLook& look, const FlyStage& stage,
             bool mirrored = false, const QRectF& frame = QRectF(0, 0, 200, 120),
             FlyLayer layer = FlyLayer::All);
// The finished fly, as large as target allows.
void drawFinishedFly(QPainter& painter, const QRectF& target, const FlyLook& look);

// Where a part sits along the shank (x in drawing units): the point at which the thread
// works while that part is tied in. Used to place the bobbin in demonstrations.
double flyPartWorkX(const FlyLook& look, FlyPart part, double progress);
// Where the material of a part is tied in before it is wound.
double flyTieInX(const FlyLook& look, FlyPart part);

// The transform that drawFly uses for target, so that callers can place things relative
// to the fly (the vise jaws, the bobbin).
QTransform flyTransform(const QRectF& target, bool mirrored, const QRectF& frame = QRectF(0, 0, 200, 120));

// Shank height and bend point in drawing units.
inline constexpr double kShankY = 52;
inline constexpr double kEyeX = 31;
inline constexpr double kBendX = 140;

} // namespace hw
