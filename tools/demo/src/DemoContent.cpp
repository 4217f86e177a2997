#include "DemoContent.h"

namespace hw::demo {
namespace {

constexpr int Thread = int(FlyPart::Thread);
constexpr int Tail = int(FlyPart::Tail);
constexpr int Post = int(FlyPart::Post);
constexpr int Extended = int(FlyPart::ExtendedBody);
constexpr int Body = int(FlyPart::Body);
constexpr int Rib = int(FlyPart::Rib);
constexpr int Wing = int(FlyPart::Wing);
constexpr int Legs = int(FlyPart::Legs);
constexpr int Thorax = int(FlyPart::Thorax);
constexpr int Hackle = int(FlyPart::Hackle);
constexpr int Head = int(FlyPart::Head);
constexpr int Underbody = int(FlyPart::Underbody);
constexpr int Palmer = int(FlyPart::Palmer);
constexpr int ShellTieIn = int(FlyPart::ShellTieIn);
constexpr int SpunHair = int(FlyPart::SpunHair);

} // namespace

// The materials keys only order the lines; the values carry their own labels because the
// values alone are shown. Some values hold "=" of their own.
//
// Each step list is tied in the order a tyer can really tie it, and where the pattern has a
// recipe card the steps follow the card's instructions in the same order; the drawing of
// every stage (tools/artwork FlyDrawing) shows only what those steps have tied. Change the
// three together.
const std::vector<PatternSpec>& patternSpecs()
{
    static const std::vector<PatternSpec> specs = {
        // Tying notes: as the card: post first, a third back; tail; abdomen; thorax round the post;
        // hackle wound down the post and tied off in front of it.
        {FlyKind::ParachuteAdams, "Parachute Adams", "Adams.ini", "Adams.bmp", "Adams.avi", KeyCase::AsDocumented,
         {{"Thread Base", Thread}, {"Calf Wing Post", Post}, {"Hackle Fiber Tail", Tail}, {"Dub the Abdomen", Body},
          {"Dub the Thorax", Thorax}, {"Parachute Hackle", Hackle}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Dry fly, 1X or 2X long, size 14-16"},
          {"Thread", "Thread: Gray, 6/0 or 8/0"},
          {"Tail", "Tail: Grizzly hackle fibers, length = hook shank"},
          {"Post", "Wing post: Dyed orange calf body hair"},
          {"Body", "Abdomen, thorax & head: Gray dubbing"},
          {"Hackle", "Hackle: Grizzly, wound on the wing post"}}},
        {FlyKind::BulletHeadHopper, "Bullet Head Hopper", "BHHopper.ini", "BHHopper.bmp", "BHHopper.avi",
         KeyCase::AsDocumented,
         // Tying notes: as the card: extended body at the bend, yarn underbody over its butts,
         // wing at the front of the underbody, knotted legs, then the hair folded back into the head.
         {{"Thread Base", Thread}, {"Extended Body", Extended}, {"Yarn Underbody", Underbody}, {"Turkey Quill Wing", Wing},
          {"Knotted Legs", Legs}, {"Bullet Head", Head}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: 2X or 3X long, heavy wire, size 8-12"},
          {"Thread", "Thread: Olive, 6/0"},
          {"Underbody", "Underbody: Poly yarn, light yellow"},
          {"Body", "Extended body: Same as underbody"},
          {"Legs", "Legs: Knotted pheasant tail, length = body"},
          {"Wing", "Wing: Turkey quill section"},
          {"Head", "Head: Deer body hair, hopper green"}}},
        {FlyKind::DeerHairCricket, "Deer Hair Cricket", "DHCRICKET.INI", "DHCricket.bmp", "dhcricket.avi", KeyCase::Upper,
         // Tying notes: as the card: extended body, dubbed body over its butts, wing, legs, hair
         // spun in front, whip finish, and the head trimmed square off the vise.
         {{"Thread Base", Thread}, {"Extended Body", Extended}, {"Dub the Body", Body}, {"Crow Quill Wing", Wing},
          {"Spade Hackle Legs", Legs}, {"Spin the Deer Hair", SpunHair}, {"Whip Finish", kWhipFinish},
          {"Trim the Head", Head}},
         {{"Hook", "Hook: Dry fly, 1X or 2X long, size 8-16"},
          {"Thread", "Thread: Black, 6/0 or 8/0"},
          {"Body", "Extended body: 3-ply black poly yarn"},
          {"Legs", "Legs: Spade hackle fibers"},
          {"Wing", "Wing: Crow or dyed black goose quill"},
          {"Dubbing", "Body dubbing: Black synthetic"},
          {"Head", "Head: Black deer body hair"}}},
        {FlyKind::HaresEarNymph, "Gold Ribbed Hare's Ear Nymph", "HaresEar.ini", "HaresEar.bmp", "HaresEar.avi",
         KeyCase::AsDocumented,
         // Tying notes: as the card: bead, tail, abdomen, rib; the wing case tied in at the front of
         // the abdomen, the thorax dubbed, the legs laid over it, then the case pulled over both.
         {{"Slide on the Bead", Head}, {"Thread Base", Thread}, {"Squirrel Tail", Tail}, {"Dub the Abdomen", Body},
          {"Wrap the Gold Rib", Rib}, {"Tie In the Wing Case", ShellTieIn}, {"Dub the Thorax", Thorax},
          {"Partridge Legs", Legs}, {"Pull Over the Wing Case", Wing}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Nymph, 2X or 3X long, size 14-16"},
          {"Head", "Head: Gold bead"},
          {"Thread", "Thread: Tan, 6/0 or 8/0"},
          {"Tail", "Tail: Fox squirrel tail"},
          {"Rib", "Rib: Gold mylar tinsel, 5 turns = 1 rib"},
          {"Abdomen", "Abdomen: Hare's ear dubbing with guard hair"},
          {"WingCase", "Wing case: Mottled turkey quill"},
          {"Legs", "Legs: Partridge, clipped in a \"V\""},
          {"Thorax", "Thorax: Same as abdomen"}}},
        {FlyKind::ParachuteHopper, "Parachute Hopper", "PHopper.ini", "PHopper.bmp", "PHopper.avi", KeyCase::AsDocumented,
         // Tying notes: as the card: yarn underbody, abdomen over it, the post at the front of the
         // abdomen, wing, legs, the head dubbed round the post, hackle tied off in front of it.
         {{"Thread Base", Thread}, {"Yarn Underbody", Underbody}, {"Dub the Abdomen", Body}, {"Poly Wing Post", Post},
          {"Turkey Quill Wing", Wing}, {"Knotted Legs", Legs}, {"Dub the Head", Thorax}, {"Parachute Hackle", Hackle},
          {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: 2X or 3X long, heavy wire, size 8-12"},
          {"Thread", "Thread: Olive, tan or yellow, 6/0"},
          {"Abdomen", "Abdomen: Green/yellow dubbing blend"},
          {"Post", "Post: White antron yarn"},
          {"Wing", "Wing: Turkey quill section"},
          {"Legs", "Legs: Knotted hackle stems"},
          {"Hackle", "Hackle: Grizzly"}}},
        {FlyKind::DeerHairAnt, "Deer Hair Ant", "DHAnt.ini", "DHAnt.bmp", "DHAnt.avi", KeyCase::AsDocumented,
         // Tying notes: as the card: the hair folded into the rear hump, legs pulled from its tips,
         // the sight post at the waist, then the rest folded into the front hump.
         {{"Thread Base", Thread}, {"Rear Hump", Body}, {"Legs", Legs}, {"Sight Post", Post}, {"Front Hump", Thorax},
          {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Dry fly, 1X or 2X long, size 8-20"},
          {"Thread", "Thread: Black, 8/0"},
          {"Body", "Body: Dyed black deer body hair"},
          {"Post", "Sight post: White poly, 1 strand of 3 ply"},
          {"Legs", "Legs: Tips of the body hair, 3 a side"}}},
        {FlyKind::FoamBeetle, "Foam Beetle", "Beetle.ini", "beetle.bmp", "Beetle.avi", KeyCase::AsDocumented,
         // Tying notes: the foam tied in at the bend before the herl body, pulled over and tied down
         // behind the eye; legs and sight post at that tie-down.
         {{"Thread Base", Thread}, {"Tie In the Foam", ShellTieIn}, {"Peacock Herl Body", Body},
          {"Pull Over the Foam", Wing}, {"Rubber Legs", Legs}, {"Sight Post", Post}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Dry fly, size 12-16"},
          {"Thread", "Thread: Black, 6/0"},
          {"Shell", "Shell: Black closed-cell foam, width = hook gap"},
          {"Body", "Body: Peacock herl"},
          {"Legs", "Legs: Black rubber"},
          {"Post", "Indicator: Orange foam"}}},
        {FlyKind::RoyalCoachman, "Royal Coachman", "Royal.INI", "Royal.bmp", "Royal.avi", KeyCase::AsDocumented,
         // Tying notes: the wings set first, a third of the way back, then tail, body up to the wings
         // and the collar hackle.
         {{"Thread Base", Thread}, {"Divided Wings", Post}, {"Tippet Tail", Tail}, {"Herl and Floss Body", Body},
          {"Collar Hackle", Hackle}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Dry fly, size 10-16"},
          {"Thread", "Thread: Black, 8/0"},
          {"Tail", "Tail: Golden pheasant tippets"},
          {"Body", "Body: Peacock herl, red floss band"},
          {"Wings", "Wings: White duck quill, divided"},
          {"Hackle", "Hackle: Coachman brown"}}},
        {FlyKind::Stimulator, "Stimulator", "STIMI.ini", "Stimi.BMP", "STIMI.AVI", KeyCase::Upper,
         // Tying notes: tail, abdomen, the abdomen hackle palmered and counter-ribbed with the wire,
         // then wing, thorax and the grizzly thorax hackle.
         {{"Thread Base", Thread}, {"Elk Hair Tail", Tail}, {"Dub the Abdomen", Body}, {"Palmer the Hackle", Palmer},
          {"Counter-Rib the Wire", Rib}, {"Elk Hair Wing", Wing}, {"Orange Thorax", Thorax},
          {"Grizzly Thorax Hackle", Hackle}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: 3X long, curved, size 6-14"},
          {"Thread", "Thread: Fluorescent orange, 6/0"},
          {"Tail", "Tail: Elk hair, length = hook gap"},
          {"Abdomen", "Abdomen: Yellow dubbing"},
          {"Rib", "Rib: Fine silver wire"},
          {"Wing", "Wing: Elk hair"},
          {"Thorax", "Thorax: Orange dubbing"},
          {"Hackle", "Hackle: Brown palmered, grizzly at the thorax"}}},
        {FlyKind::ElkHairCaddis, "Elk Hair Caddis", "Caddis.ini", "Caddis.bmp", "Caddis.avi", KeyCase::AsDocumented,
         // Tying notes: body, hackle palmered over it and ribbed through with the wire, hair wing,
         // the butts trimmed into the head.
         {{"Thread Base", Thread}, {"Dub the Body", Body}, {"Palmer the Hackle", Palmer}, {"Wire Rib", Rib},
          {"Elk Hair Wing", Wing}, {"Whip Finish", kWhipFinish}, {"Trim the Head", Head}},
         {{"Hook", "Hook: Dry fly, size 12-18"},
          {"Thread", "Thread: Tan, 8/0"},
          {"Body", "Body: Olive hare's ear dubbing"},
          {"Rib", "Rib: Fine gold wire"},
          {"Hackle", "Hackle: Brown, palmered"},
          {"Wing", "Wing: Bleached elk hair"}}},
        {FlyKind::Inchworm, "Inchworm", "inchworm.ini", "Inchworm.bmp", "inchworm.avi", KeyCase::AsDocumented,
         // Tying notes: the chenille bound along the shank, the rest hanging past the bend.
         {{"Thread Base", Thread}, {"Chenille Body", Extended}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Dry fly, size 12-14"},
          {"Thread", "Thread: Chartreuse, 6/0"},
          {"Body", "Body: Green ultra chenille, length = 2 x shank"}}},
        {FlyKind::Humpy, "Humpy", "HUMPY.ini", "Humpy.bmp", "Humpy.avi", KeyCase::AsDocumented,
         // Tying notes: the shell hair tied in tips back before the floss body, pulled over it, its
         // tips stood up as the wings, then the collar.
         {{"Thread Base", Thread}, {"Moose Hair Tail", Tail}, {"Tie In the Shell Hair", ShellTieIn}, {"Floss Body", Body},
          {"Pull Over the Shell", Wing}, {"Upright Wings", Post}, {"Collar Hackle", Hackle}, {"Whip Finish", kWhipFinish}},
         {{"Hook", "Hook: Dry fly, size 10-16"},
          {"Thread", "Thread: Red, 6/0"},
          {"Tail", "Tail: Moose body hair"},
          {"Body", "Body: Yellow floss under the shell"},
          {"Shell", "Shell and wings: Deer hair, tips = wings"},
          {"Hackle", "Hackle: Brown and grizzly mixed"}}},
    };
    return specs;
}

const std::vector<TechniqueSpec>& techniqueSpecs()
{
    using P = FlyPart;
    static const std::vector<TechniqueSpec> specs = {
        {"Starting the Thread", FlyKind::ParachuteAdams, {}, Thread},
        {"Tying in a Tail", FlyKind::ParachuteAdams, {P::Thread}, Tail},
        {"Dubbing a Body", FlyKind::HaresEarNymph, {P::Head, P::Thread, P::Tail}, Body},
        {"Wrapping a Rib", FlyKind::HaresEarNymph, {P::Head, P::Thread, P::Tail, P::Body}, Rib},
        // stacked elk before the wing post, whose calf hair is stacked too
        {"Stacking Hair", FlyKind::ElkHairCaddis, {P::Thread, P::Body, P::Palmer, P::Rib}, Wing},
        {"Setting a Wing Post", FlyKind::ParachuteAdams, {P::Thread}, Post},
        {"Winding a Hackle", FlyKind::RoyalCoachman, {P::Thread, P::Post, P::Tail, P::Body}, Hackle},
        {"Parachute Hackle", FlyKind::ParachuteAdams, {P::Thread, P::Post, P::Tail, P::Body, P::Thorax}, Hackle},
        {"Spinning Deer Hair", FlyKind::DeerHairCricket,
         {P::Thread, P::ExtendedBody, P::Body, P::Wing, P::Legs}, SpunHair},
        {"Knotting Legs", FlyKind::ParachuteHopper, {P::Thread, P::Underbody, P::Body, P::Post, P::Wing}, Legs},
        {"The Whip Finish", FlyKind::RoyalCoachman, {P::Thread, P::Tail, P::Body, P::Post, P::Hackle}, kWhipFinish},
    };
    return specs;
}

const std::vector<TourSpec>& tourSpecs()
{
    static const std::vector<TourSpec> specs = {
        {"Welcome", TourScene::Welcome, "Terrestrial and attractor patterns, step by step."},
        {"Choosing a Section", TourScene::Sections, "Three sections: Quick Tour, Techniques and Patterns."},
        {"Topics and Video", TourScene::TopicsAndVideo, "Pick a topic from the list; its clip appears in the video panel."},
        {"Playing a Clip", TourScene::Transport, "Play, Stop, Rewind, and Prev / Next to move between topics."},
        {"The Pattern Gallery", TourScene::Gallery, "Click a fly in the gallery to open its tying lesson."},
        {"Left-Handed Tyers", TourScene::Handedness, "Every lesson is filmed for right- and left-handed tyers."},
        {"Printing a Recipe", TourScene::Recipes, "Print a recipe card to take to the vise."},
    };
    return specs;
}

} // namespace hw::demo
