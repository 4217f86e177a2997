#include "Artwork.h"

#ifdef HW_HAVE_ASSETS
#include "hw/assets/Assets.h"
#endif

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>

namespace hw {
namespace {

struct ArtInfo {
    const char* resource; // file name under :/artwork/
    int width;
    int height;
    const char* label;    // what the picture says, for assistive tools
};

ArtInfo info(Art art)
{
    switch (art) {
    case Art::MainMenu: return {"MainMenu.bmp", 632, 453, "Hacklewright"};
    case Art::PatternsMenu: return {"PatternsMenu.bmp", 632, 453, "Hacklewright patterns"};
    case Art::QuickTourLogo: return {"QuickTourLogo.bmp", 120, 80, "Quick Tour"};
    case Art::TechniquesLogo: return {"TechniquesLogo.bmp", 120, 80, "Techniques"};
    case Art::QuickTourUp: return {"QuickTourUp.bmp", 120, 42, "Quick Tour"};
    case Art::QuickTourDown: return {"QuickTourDown.bmp", 120, 42, "Quick Tour"};
    case Art::TechniquesUp: return {"TechniquesUp.bmp", 120, 42, "Techniques"};
    case Art::TechniquesDown: return {"TechniquesDown.bmp", 120, 42, "Techniques"};
    case Art::PatternsUp: return {"PatternsUp.bmp", 120, 42, "Patterns"};
    case Art::PatternsDown: return {"PatternsDown.bmp", 120, 42, "Patterns"};
    case Art::GoinFishin: return {"GoinFishin.bmp", 120, 42, "Goin' Fishin'"};
    case Art::Play: return {"Play.bmp", 50, 33, "Play"};
    case Art::Stop: return {"Stop.bmp", 50, 33, "Stop"};
    case Art::Rewind: return {"Rewind.bmp", 50, 33, "Rewind"};
    case Art::Previous: return {"Previous.bmp", 50, 33, "Previous"};
    case Art::Next: return {"Next.bmp", 50, 33, "Next"};
    case Art::StepBack: return {"StepBack.bmp", 50, 33, "Step back"};
    case Art::StepForward: return {"StepForward.bmp", 50, 33, "Step forward"};
    case Art::PrintRecipe: return {"PrintRecipe.bmp", 120, 33, "Print Recipe"};
    }
    return {"", 1, 1, ""};
}

// The lettering of the stand-in faces: short, as on the real artwork.
QString faceText(Art art)
{
    switch (art) {
    case Art::Rewind: return QStringLiteral("Rew");
    case Art::Previous: return QStringLiteral("Prev");
    case Art::StepBack: return QStringLiteral("<<");
    case Art::StepForward: return QStringLiteral(">>");
    default: return QString::fromLatin1(info(art).label);
    }
}

bool isDownFace(Art art)
{
    return art == Art::QuickTourDown || art == Art::TechniquesDown || art == Art::PatternsDown;
}

void drawPanel(QPainter& p, const QRect& r)
{
    p.fillRect(r.translated(4, 4), QColor(0, 0, 0, 90));
    p.fillRect(r, Qt::white);
}

QImage standInBackground(bool patterns)
{
    QImage image(632, 453, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient water(0, 0, 0, 453);
    water.setColorAt(0, QColor(70, 110, 90));
    water.setColorAt(0.5, QColor(60, 100, 120));
    water.setColorAt(1, QColor(40, 70, 90));
    p.fillRect(image.rect(), water);
    QFont title(QStringLiteral("Liberation Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(250, 240, 200));
    p.drawText(QRect(0, 8, 632, 50), Qt::AlignCenter, QStringLiteral("Hacklewright - Volume 2"));
    if (patterns) {
        drawPanel(p, QRect(64, 161, 375, 180));
    } else {
        drawPanel(p, QRect(15, 79, 120, 80));
        drawPanel(p, QRect(148, 88, 331, 70));
        drawPanel(p, QRect(15, 168, 320, 240));
        drawPanel(p, QRect(349, 168, 129, 206));
    }
    drawPanel(p, QRect(496, 83, 131, 151));
    drawPanel(p, QRect(496, 402, 131, 53 - 6));
    return image;
}

QImage standInLogo(const QString& name)
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(60, 30, 80));
    p.drawText(QRect(4, 2, 116, 16), Qt::AlignLeft | Qt::AlignTop, name);
    p.setPen(QPen(QColor(120, 90, 40), 2));
    p.drawLine(20, 60, 100, 45);
    p.drawEllipse(QPoint(60, 52), 14, 8);
    return image;
}

QImage standInFace(Art art, const ArtInfo& i)
{
    QImage image(i.width, i.height, QImage::Format_RGB32);
    const bool down = isDownFace(art);
    const QColor face = down ? QColor(70, 30, 90) : QColor(200, 190, 205);
    image.fill(face);
    QPainter p(&image);
    const QRect r = image.rect();
    p.setPen(down ? QColor(40, 10, 50) : Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? QColor(120, 80, 140) : QColor(90, 80, 95));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(i.height > 40 ? 14 : 12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(down ? QColor(230, 220, 240) : QColor(40, 20, 50));
    p.drawText(r, Qt::AlignCenter, faceText(art));
    return image;
}

QImage standIn(Art art, const ArtInfo& i)
{
    switch (art) {
    case Art::MainMenu: return standInBackground(false);
    case Art::PatternsMenu: return standInBackground(true);
    case Art::QuickTourLogo: return standInLogo(QStringLiteral("Quick Tour"));
    case Art::TechniquesLogo: return standInLogo(QStringLiteral("Techniques"));
    default: return standInFace(art, i);
    }
}

void initAssetsOnce()
{
#ifdef HW_HAVE_ASSETS
    static const bool done = [] {
        hw::initAssets();
        return true;
    }();
    (void)done;
#endif
}

} // namespace

TPicture loadArtwork(Art art)
{
    // Loaded once: every control and the image store share the same pictures.
    static QHash<int, TPicture> loaded;
    if (const auto it = loaded.constFind(int(art)); it != loaded.cend())
        return *it;
    initAssetsOnce();
    const ArtInfo i = info(art);
    QImage image(QStringLiteral(":/artwork/") + QLatin1String(i.resource));
    if (image.isNull() || image.size() != QSize(i.width, i.height))
        image = standIn(art, i);
    const TPicture picture{image, QString::fromLatin1(i.label)};
    loaded.insert(int(art), picture);
    return picture;
}

} // namespace hw
