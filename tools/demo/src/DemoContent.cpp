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
         {{"Thread Base", Thread, "Start the thread a third of the way back and wrap a smooth base to the bend."},
          {"Calf Wing Post", Post, "Tie in a stacked bunch of orange calf hair and stand it up as the post."},
          {"Hackle Fiber Tail", Tail, "At the bend, tie in grizzly hackle fibers, about a shank long, for the tail."},
          {"Dub the Abdomen", Body, "Dub a slim, tapered abdomen of gray dubbing forward to the post."},
          {"Dub the Thorax", Thorax, "Dub the thorax around the post, and leave the thread just in front of it."},
          {"Parachute Hackle", Hackle, "Wind the hackle down the post, tie it off in front, and dub a small head."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the eye and cement the base of the post."}},
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
         {{"Thread Base", Thread, "Lay a smooth thread base to the bend and back to the middle."},
          {"Extended Body", Extended, "Tie the twisted yarn rope on at the bend, half a shank past it."},
          {"Yarn Underbody", Underbody, "Wrap a tapered yarn underbody over the butts of the extended body."},
          {"Turkey Quill Wing", Wing, "Tie a cemented turkey quill flat over the body, at the front of the underbody."},
          {"Knotted Legs", Legs, "Tie a knotted pheasant tail leg on each side, the knots past the bend."},
          {"Bullet Head", Head, "Tie in deer hair tips forward, then fold it back into a bullet head."},
          {"Whip Finish", kWhipFinish, "Whip finish over the collar wraps and cement them."}},
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
         {{"Thread Base", Thread, "Lay a thread base from the eye to the bend."},
          {"Extended Body", Extended, "Tie on the twisted poly body so it reaches half a shank past the bend."},
          {"Dub the Body", Body, "Dub a plump black body over the rear two thirds of the shank."},
          {"Crow Quill Wing", Wing, "Tie a cemented crow quill section flat over the body."},
          {"Spade Hackle Legs", Legs, "Tie spade hackle fibers on each side, angled back and down."},
          {"Spin the Deer Hair", SpunHair, "Spin black deer hair in front of the body, the tips pointing back."},
          {"Whip Finish", kWhipFinish, "Pack the hair back and whip finish behind the eye."},
          {"Trim the Head", Head, "Off the vise, trim the head flat below and square on top."}},
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
         {{"Slide on the Bead", Head, "Slide the gold bead onto the hook, small hole first, up to the eye."},
          {"Thread Base", Thread, "Start the thread behind the bead and lay a base to the bend."},
          {"Squirrel Tail", Tail, "Tie in a short bunch of fox squirrel hair for the tail."},
          {"Dub the Abdomen", Body, "Dub a tapered abdomen of hare's ear, with plenty of guard hair."},
          {"Wrap the Gold Rib", Rib, "Spiral the tinsel forward in even turns and tie it off."},
          {"Tie In the Wing Case", ShellTieIn, "Tie in the turkey quill at the front of the abdomen, shiny side down."},
          {"Dub the Thorax", Thorax, "Dub a fuller thorax, stopping just short of the bead."},
          {"Partridge Legs", Legs, "Lay the clipped partridge over the thorax, the legs swept back."},
          {"Pull Over the Wing Case", Wing, "Pull the wing case forward over thorax and legs, and tie it down."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the bead and pick out the thorax."}},
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
         {{"Thread Base", Thread, "Lay a thread base and tie in antron yarn at the bend."},
          {"Yarn Underbody", Underbody, "Wrap a tapered yarn underbody, then tie it off and trim it."},
          {"Dub the Abdomen", Body, "Dub a full abdomen of the green and yellow blend."},
          {"Poly Wing Post", Post, "Tie in white antron at the front of the abdomen and stand it up as the post."},
          {"Turkey Quill Wing", Wing, "Tie a turkey quill section flat over the abdomen."},
          {"Knotted Legs", Legs, "Tie a knotted hackle stem on each side for the hind legs."},
          {"Dub the Head", Thorax, "Dub the head around the post, ending just in front of it."},
          {"Parachute Hackle", Hackle, "Wind the hackle down the post and tie it off in front of it."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the eye and trim the post."}},
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
         {{"Thread Base", Thread, "Lay a thread base and bring the thread back to the middle."},
          {"Rear Hump", Body, "Tie the deer hair in tips back, then fold it forward into the rear hump."},
          {"Legs", Legs, "Pull three hair tips out on each side as legs, and trim them to length."},
          {"Sight Post", Post, "Tie in a strand of white poly at the waist as a sight post."},
          {"Front Hump", Thorax, "Fold the rest of the hair forward into the front hump."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the eye and cement the wraps."}},
         {{"Hook", "Hook: Dry fly, 1X or 2X long, size 8-20"},
          {"Thread", "Thread: Black, 8/0"},
          {"Body", "Body: Dyed black deer body hair"},
          {"Post", "Sight post: White poly, 1 strand of 3 ply"},
          {"Legs", "Legs: Tips of the body hair, 3 a side"}}},
        {FlyKind::FoamBeetle, "Foam Beetle", "Beetle.ini", "beetle.bmp", "Beetle.avi", KeyCase::AsDocumented,
         // Tying notes: the foam tied in at the bend before the herl body, pulled over and tied down
         // behind the eye; legs and sight post at that tie-down.
         {{"Thread Base", Thread, "Lay a thread base to the bend."},
          {"Tie In the Foam", ShellTieIn, "Tie in a strip of black foam at the bend, as wide as the gap."},
          {"Peacock Herl Body", Body, "Wind peacock herl forward into a full body."},
          {"Pull Over the Foam", Wing, "Pull the foam over the body and tie it down behind the eye."},
          {"Rubber Legs", Legs, "Tie rubber legs on each side at the tie-down."},
          {"Sight Post", Post, "Tie an orange foam sight post on top, at the same tie-down."},
          {"Whip Finish", kWhipFinish, "Whip finish under the foam and trim the thread."}},
         {{"Hook", "Hook: Dry fly, size 12-16"},
          {"Thread", "Thread: Black, 6/0"},
          {"Shell", "Shell: Black closed-cell foam, width = hook gap"},
          {"Body", "Body: Peacock herl"},
          {"Legs", "Legs: Black rubber"},
          {"Post", "Indicator: Orange foam"}}},
        {FlyKind::RoyalCoachman, "Royal Coachman", "Royal.INI", "Royal.bmp", "Royal.avi", KeyCase::AsDocumented,
         // Tying notes: the wings set first, a third of the way back, then tail, body up to the wings
         // and the collar hackle.
         {{"Thread Base", Thread, "Lay a thread base to the bend."},
          {"Divided Wings", Post, "Set the white wings a third of the way back, and divide them."},
          {"Tippet Tail", Tail, "Tie in golden pheasant tippets at the bend for the tail."},
          {"Herl and Floss Body", Body, "Wind herl, a red floss band, and herl again, up to the wings."},
          {"Collar Hackle", Hackle, "Wind the brown hackle behind and in front of the wings."},
          {"Whip Finish", kWhipFinish, "Form a small head and whip finish."}},
         {{"Hook", "Hook: Dry fly, size 10-16"},
          {"Thread", "Thread: Black, 8/0"},
          {"Tail", "Tail: Golden pheasant tippets"},
          {"Body", "Body: Peacock herl, red floss band"},
          {"Wings", "Wings: White duck quill, divided"},
          {"Hackle", "Hackle: Coachman brown"}}},
        {FlyKind::Stimulator, "Stimulator", "STIMI.ini", "Stimi.BMP", "STIMI.AVI", KeyCase::Upper,
         // Tying notes: tail, abdomen, the abdomen hackle palmered and counter-ribbed with the wire,
         // then wing, thorax and the grizzly thorax hackle.
         {{"Thread Base", Thread, "Lay a thread base down the curved shank."},
          {"Elk Hair Tail", Tail, "Tie in a short bunch of elk hair for the tail."},
          {"Dub the Abdomen", Body, "Dub a yellow abdomen over two thirds of the shank."},
          {"Palmer the Hackle", Palmer, "Palmer the brown hackle back over the abdomen."},
          {"Counter-Rib the Wire", Rib, "Counter wrap the wire forward through the hackle to lock it."},
          {"Elk Hair Wing", Wing, "Tie in the elk hair wing, reaching to the tail."},
          {"Orange Thorax", Thorax, "Dub an orange thorax in front of the wing."},
          {"Grizzly Thorax Hackle", Hackle, "Palmer the grizzly hackle through the thorax."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the eye."}},
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
         {{"Thread Base", Thread, "Lay a thread base and tie in the wire at the bend."},
          {"Dub the Body", Body, "Dub a slim olive body, leaving room for the wing."},
          {"Palmer the Hackle", Palmer, "Palmer the brown hackle back to the bend."},
          {"Wire Rib", Rib, "Wind the wire forward through the hackle and tie it off."},
          {"Elk Hair Wing", Wing, "Tie in a stacked bunch of elk hair, the tips to the bend."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the butts of the hair."},
          {"Trim the Head", Head, "Trim the butts square into a short head."}},
         {{"Hook", "Hook: Dry fly, size 12-18"},
          {"Thread", "Thread: Tan, 8/0"},
          {"Body", "Body: Olive hare's ear dubbing"},
          {"Rib", "Rib: Fine gold wire"},
          {"Hackle", "Hackle: Brown, palmered"},
          {"Wing", "Wing: Bleached elk hair"}}},
        {FlyKind::Inchworm, "Inchworm", "inchworm.ini", "Inchworm.bmp", "inchworm.avi", KeyCase::AsDocumented,
         // Tying notes: the chenille bound along the shank, the rest hanging past the bend.
         {{"Thread Base", Thread, "Lay a thread base along the shank."},
          {"Chenille Body", Extended, "Bind the chenille along the shank, and let the rest hang past the bend."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the eye."}},
         {{"Hook", "Hook: Dry fly, size 12-14"},
          {"Thread", "Thread: Chartreuse, 6/0"},
          {"Body", "Body: Green ultra chenille, length = 2 x shank"}}},
        {FlyKind::Humpy, "Humpy", "HUMPY.ini", "Humpy.bmp", "Humpy.avi", KeyCase::AsDocumented,
         // Tying notes: the shell hair tied in tips back before the floss body, pulled over it, its
         // tips stood up as the wings, then the collar.
         {{"Thread Base", Thread, "Lay a thread base to the bend."},
          {"Moose Hair Tail", Tail, "Tie in a bunch of moose hair for the tail."},
          {"Tie In the Shell Hair", ShellTieIn, "Tie in deer hair with the tips back, past the bend."},
          {"Floss Body", Body, "Wrap a smooth yellow floss body."},
          {"Pull Over the Shell", Wing, "Pull the hair forward over the body and tie it down."},
          {"Upright Wings", Post, "Stand the tips up and divide them into wings."},
          {"Collar Hackle", Hackle, "Wind brown and grizzly hackle around the wings."},
          {"Whip Finish", kWhipFinish, "Whip finish behind the eye."}},
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
        {"Starting the Thread", FlyKind::ParachuteAdams, {}, Thread,
         "Wrap the thread over itself to lock it, then trim the tag."},
        {"Tying in a Tail", FlyKind::ParachuteAdams, {P::Thread}, Tail,
         "Measure the fibers, then tie them in with soft pinch wraps."},
        {"Dubbing a Body", FlyKind::HaresEarNymph, {P::Head, P::Thread, P::Tail}, Body,
         "Twist a thin layer of dubbing on the thread and wind it forward."},
        {"Wrapping a Rib", FlyKind::HaresEarNymph, {P::Head, P::Thread, P::Tail, P::Body}, Rib,
         "Spiral the rib forward in even, open turns."},
        // stacked elk before the wing post, whose calf hair is stacked too
        {"Stacking Hair", FlyKind::ElkHairCaddis, {P::Thread, P::Body, P::Palmer, P::Rib}, Wing,
         "Stack the hair to even the tips, then tie it in."},
        {"Setting a Wing Post", FlyKind::ParachuteAdams, {P::Thread}, Post,
         "Stand the stacked calf hair up and wrap its base."},
        {"Winding a Hackle", FlyKind::RoyalCoachman, {P::Thread, P::Post, P::Tail, P::Body}, Hackle,
         "Wind the hackle in touching turns, shiny side forward."},
        {"Parachute Hackle", FlyKind::ParachuteAdams, {P::Thread, P::Post, P::Tail, P::Body, P::Thorax}, Hackle,
         "Wind the hackle down the post, each turn below the last."},
        {"Spinning Deer Hair", FlyKind::DeerHairCricket,
         {P::Thread, P::ExtendedBody, P::Body, P::Wing, P::Legs}, SpunHair,
         "Two loose wraps, then pull tight and let the hair spin."},
        {"Knotting Legs", FlyKind::ParachuteHopper, {P::Thread, P::Underbody, P::Body, P::Post, P::Wing}, Legs,
         "Tie an overhand knot in each leg to make the knee."},
        {"The Whip Finish", FlyKind::RoyalCoachman, {P::Thread, P::Tail, P::Body, P::Post, P::Hackle}, kWhipFinish,
         "Lay wraps over the thread with the tool, then pull it tight."},
    };
    return specs;
}

const std::vector<TourSpec>& tourSpecs()
{
    static const std::vector<TourSpec> specs = {
        {"Welcome", TourScene::Welcome, "Terrestrial and attractor patterns, step by step.",
         "Welcome. Tie terrestrial and attractor patterns, step by step."},
        {"Choosing a Section", TourScene::Sections, "Three sections: Quick Tour, Techniques and Patterns.",
         "Choose the Quick Tour, Techniques, or Patterns."},
        {"Topics and Video", TourScene::TopicsAndVideo, "Pick a topic from the list; its clip appears in the video panel.",
         "Pick a topic from the list to see its clip."},
        {"Playing a Clip", TourScene::Transport, "Play, Stop, Rewind, and Prev / Next to move between topics.",
         "Play, stop, rewind, or move on to the next topic."},
        {"The Pattern Gallery", TourScene::Gallery, "Click a fly in the gallery to open its tying lesson.",
         "Click a fly in the gallery to open its lesson."},
        {"Left-Handed Tyers", TourScene::Handedness, "Every lesson is filmed for right- and left-handed tyers.",
         "Every lesson is filmed for either hand."},
        {"Printing a Recipe", TourScene::Recipes, "Print a recipe card to take to the vise.",
         "Print a recipe card to take to the vise."},
    };
    return specs;
}

} // namespace hw::demo
