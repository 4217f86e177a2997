#pragma once
// What each card must print, as the layout tables give it: positions in design pixels (96
// per inch), texts exactly, blanks and all.
#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace hw::test {

struct CardTable {
    QByteArray displayName;
    QStringList titleLines; // the second line sits one title height (24 px) lower
    int titleLeft, titleWidth;
    QRect picture;
    QSize bitmap;
    int labelWidth, labelHeight;
    int valueLeft, valueWidth, valueHeight;
    int blockTop, blockHeight;
    QStringList labels;
    QStringList values;
    int steps;
    int blockLines;
    bool emptyLineAfterLastStep;
};

inline const std::vector<CardTable>& cardTables()
{
    static const std::vector<CardTable> tables = {
        {"Bullet Head Hopper",
         {QStringLiteral("Bullet Head Hopper")},
         48,
         193,
         QRect(64, 176, 153, 137),
         QSize(301, 225),
         96,
         121,
         424,
         319,
         121,
         360,
         519,
         {QStringLiteral("Hook: "), QStringLiteral("Thread: "), QStringLiteral("Underbody: "),
          QStringLiteral("Extended Body: "), QStringLiteral("Legs: "), QStringLiteral("Wing: "),
          QStringLiteral("Head: ")},
         {QStringLiteral("2x or 3x long, heavy wire, size 8-12"),
          QStringLiteral("Olive, Brown, or Black, 6/0 or 8/0"),
          QStringLiteral("Poly Knitting Yarn, Light Yellow or Cream"), QStringLiteral("Same as Underbody"),
          QStringLiteral("Knotted Pheasant Tail Fibers or Knotted Hackle Stems"),
          QStringLiteral("Turkey Quill Section"), QStringLiteral("Deer Body Hair, Hopper Green or Olive")},
         11,
         21,
         false},
        {"Deer Hair Cricket",
         {QStringLiteral("Deer Hair Cricket")},
         48,
         193,
         QRect(72, 168, 137, 137),
         QSize(300, 300),
         96,
         121,
         424,
         225,
         121,
         360,
         580,
         {QStringLiteral("Hook: "), QStringLiteral("Thread: "), QStringLiteral("Extended Body: "),
          QStringLiteral("Legs: "), QStringLiteral("Wing: "), QStringLiteral("Body Dubbing: "),
          QStringLiteral("Head: ")},
         {QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 8-16"), QStringLiteral("Black, 6/0 or 8/0"),
          QStringLiteral("2, 3, or 4 ply of Black Poly"), QStringLiteral("Spade Hackle Fibers"),
          QStringLiteral("Crow or Dyed Black Goose Quill"), QStringLiteral("Black Synthetic Dubbing"),
          QStringLiteral("Deer Body Hair, Black")},
         9,
         18,
         true},
        {"Parachute Adams",
         {QStringLiteral("Parachute Adams")},
         64,
         193,
         QRect(56, 168, 209, 137),
         QSize(295, 196),
         159,
         121,
         488,
         240,
         121,
         360,
         580,
         {QStringLiteral("Hook: "), QStringLiteral("Thread: "), QStringLiteral("Tail: "),
          QStringLiteral("Wing Post: "), QStringLiteral("Abdomen, Thorax & Head: "),
          QStringLiteral("Hackle:")},
         {QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 14-16"), QStringLiteral("Gray, 6/0 or 8/0"),
          QStringLiteral("Grizzly Hackle Fibers"), QStringLiteral("Dyed Orange Calf Body"),
          QStringLiteral("Gray Dubbing"), QStringLiteral("Grizzly Hackle, Wound on the Wing Post"),
          QString()},
         9,
         18,
         true},
        {"Gold Ribbed Hare's Ear Nymph",
         {QStringLiteral("Bead Head, Gold Ribbed"), QStringLiteral("Hare's Ear Nymph")},
         64,
         233,
         QRect(56, 200, 209, 65),
         QSize(266, 80),
         69,
         145,
         400,
         239,
         145,
         360,
         580,
         {QStringLiteral("Hook:"), QStringLiteral("Head:"), QStringLiteral("Thread:"),
          QStringLiteral("Tail:"), QStringLiteral("Rib:"), QStringLiteral("Abdomen: "),
          QStringLiteral("Wing Case:"), QStringLiteral("Legs:"), QStringLiteral("Thorax:")},
         {QStringLiteral("Nymph Hook, 2X or 3X  long, size 14-16"), QStringLiteral("Gold Bead"),
          QStringLiteral("Tan, 6/0 or 8/0"), QStringLiteral("Fox Squirrel Tail"),
          QStringLiteral("Gold & Silver Mylar Tinsel"),
          QStringLiteral("Hare's Ear Dubbing with lots of guard hair"),
          QStringLiteral("Mottled Turkey Quill"), QStringLiteral("Partridge Feather, Clipped in a \"V\""),
          QStringLiteral("Same as Abdomen")},
         11,
         21,
         false},
        {"Parachute Hopper",
         {QStringLiteral("Parachute Hopper")},
         64,
         201,
         QRect(56, 168, 209, 121),
         QSize(388, 201),
         117,
         177,
         448,
         209,
         177,
         360,
         625,
         {QStringLiteral("Hook:"), QStringLiteral("Thread:"), QStringLiteral("Underbody:"),
          QStringLiteral("Abdomen:"), QStringLiteral("Alternate Abdomen:"), QString(),
          QStringLiteral("Post: "), QStringLiteral("Wing:"), QStringLiteral("Legs:"), QStringLiteral("Head:"),
          QStringLiteral("Hackle:")},
         {QStringLiteral("2X or 3X  long, heavy wire, size 8-12"),
          QStringLiteral("Olive, Tan, or Yellow, 6/0 or 8/0"), QStringLiteral("White or Cream Antron Yarn"),
          QStringLiteral("Green/Yellow Dubbing Blend"), QStringLiteral("Yellow Flexibody, 3mm wide"),
          QStringLiteral("highlighted with a black marker"),
          QStringLiteral("White Antron Yarn or White Poly"), QStringLiteral("Turkey Quill Section"),
          QStringLiteral("Knotted Hackle Stems"), QStringLiteral("Green/Yellow Dubbing Blend"),
          QStringLiteral("Grizzly Hackle")},
         10,
         19,
         false},
        {"Deer Hair Ant",
         {QStringLiteral("Deer Hair Ant")},
         80,
         193,
         QRect(104, 168, 151, 130),
         QSize(201, 154),
         70,
         121,
         400,
         355,
         137,
         408,
         580,
         {QStringLiteral("Hook: "), QStringLiteral("Thread: "), QStringLiteral("Body:"), QString(),
          QStringLiteral("Sight Post: "), QString()},
         {QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 8-20"), QStringLiteral("Black, 8/0"),
          QStringLiteral("Dyed black deer body hair"),
          QStringLiteral("(brown [cinnamon], Red, or Orange are also effective)"),
          QStringLiteral("White Poly, 1 strand of 3 ply"),
          QStringLiteral("(bright orange, chartreuse, or yellow may also be substituted)"), QString(),
          QString()},
         10,
         19,
         false},
    };
    return tables;
}

} // namespace hw::test
