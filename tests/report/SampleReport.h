#pragma once
// A report shaped like a recipe card: Letter, half-inch margins, a framed header band with
// three centred lines, and a title, a picture, two memos and a footer directly on the page.
#include "hw/report/TReport.h"

#include <QImage>
#include <QPainter>
#include <memory>

namespace hw::test {

inline double px(double designPixels)
{
    return hw::designPixels(designPixels);
}

// Left half red, right half blue, so a stretched picture shows where its box lies.
inline QImage twoColourPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter p(&image);
    p.fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

inline std::unique_ptr<TReport> makeCardReport()
{
    auto report = std::make_unique<TReport>();
    report->page().setPaperSize(TPaperSize::Letter);
    report->page().setValues({127.0, 2794.0, 127.0, 2159.0, 127.0, 127.0, 0.0});

    auto* band = report->AddBand(rbPageHeader);
    band->setSize(214.3125, 1905.0);
    band->setColor(Qt::white);
    band->frame().setAll(true);

    auto headerLine = [&](double top, const QString& text, int points, bool bold) {
        auto* label = band->AddLabel();
        label->setSize(px(25), 0.0, top, px(721));
        label->setFont(QFont(QStringLiteral("Arial"), points, bold ? QFont::Bold : QFont::Normal));
        label->setAlignment(taCenter);
        label->setAutoSize(false);
        label->setWordWrap(true);
        label->setCaption(text);
        return label;
    };
    headerLine(px(4), QStringLiteral("Hacklewright"), 16, true);
    headerLine(px(31), QStringLiteral("Volume 2"), 12, false);
    headerLine(px(53), QStringLiteral("Terrestrials & Attractor Patterns"), 12, true);

    auto* title = report->AddLabel();
    title->setSize(px(24), px(48), px(136), px(193));
    QFont titleFont(QStringLiteral("Arial"), 14, QFont::Bold);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    title->setAlignment(taCenter);
    title->setAutoSize(false);
    title->setCaption(QStringLiteral("Bullet Head Hopper"));

    auto* image = report->AddImage();
    image->setSize(px(137), px(64), px(176), px(153));
    image->setStretch(true);
    image->setPicture(twoColourPicture(301, 225));

    auto* heading = report->AddLabel();
    heading->setSize(px(20), px(328), px(136), px(69));
    heading->setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));
    heading->setCaption(QStringLiteral("Materials"));

    auto* labels = report->AddMemo();
    labels->setSize(px(121), px(328), px(160), px(96));
    QFont italic(QStringLiteral("Arial"), 10);
    italic.setItalic(true);
    labels->setFont(italic);
    labels->setLines({QStringLiteral("Hook: "), QStringLiteral("Thread: "), QStringLiteral("Underbody: ")});

    auto* values = report->AddMemo();
    values->setSize(px(121), px(424), px(160), px(319));
    values->setFont(QFont(QStringLiteral("Arial"), 10));
    values->setLines({QStringLiteral("2x or 3x long, heavy wire, size 8-12"),
                      QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 8-16"),
                      QStringLiteral("Poly Knitting Yarn, Light Yellow or Cream")});

    auto* steps = report->AddMemo();
    steps->setSize(px(519), px(56), px(360), px(705));
    steps->setFont(QFont(QStringLiteral("Arial"), 10));
    steps->setAutoSize(false);
    steps->setLines(
        {QStringLiteral(
             "1. Wrap the hook shank with thread from the eye to the bend, then tie in a length of "
             "yarn and wind it forward to form a smooth, slightly tapered underbody that ends a "
             "little behind the eye."),
         QString(), QStringLiteral("2. Tie in the wing on top of the body and trim the butts.")});

    auto* footer = report->AddLabel();
    footer->setSize(px(17), px(48), px(986), px(209));
    footer->setFont(QFont(QStringLiteral("Arial"), 10));
    footer->setCaption(QStringLiteral("Printed with Hacklewright"));
    return report;
}

} // namespace hw::test
