#include "hw/artwork/Artwork.h"
#include "hw/artwork/BmpWriter.h"

#include "Faces.h"

#include <QDir>

#include <functional>

namespace hw {

QImage renderQuickTourLogo();
QImage renderTechniquesLogo();

namespace {

struct Entry {
    const char* path;
    QSize size;
    int pixelsPerMetre;
    std::function<QImage()> render;
};

const QSize kSection(120, 42);
const QSize kTransport(50, 33);

QImage face(QSize size, const char* label, FaceState state, int pixelSize = 15)
{
    return renderFace(size, QString::fromUtf8(label), state, FaceGlyph::Text, pixelSize);
}

const QList<Entry>& entries()
{
    static const QList<Entry> list = {
        {"artwork/MainMenu.bmp", {632, 453}, kScreenPixelsPerMetre, [] { return renderBackground(false); }},
        {"artwork/PatternsMenu.bmp",
         {632, 453},
         kScreenPixelsPerMetre,
         [] { return renderBackground(true); }},
        {"artwork/QuickTourLogo.bmp", {120, 80}, kScreenPixelsPerMetre, renderQuickTourLogo},
        {"artwork/TechniquesLogo.bmp", {120, 80}, kScreenPixelsPerMetre, renderTechniquesLogo},
        {"artwork/QuickTourUp.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Quick Tour", FaceState::Up); }},
        {"artwork/QuickTourDown.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Quick Tour", FaceState::Down); }},
        {"artwork/TechniquesUp.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Techniques", FaceState::Up); }},
        {"artwork/TechniquesDown.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Techniques", FaceState::Down); }},
        {"artwork/PatternsUp.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Patterns", FaceState::Up); }},
        {"artwork/PatternsDown.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Patterns", FaceState::Down); }},
        {"artwork/GoinFishin.bmp", kSection, kScreenPixelsPerMetre,
         [] { return face(kSection, "Goin' Fishin'", FaceState::Up); }},
        {"artwork/Play.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return face(kTransport, "Play", FaceState::Up, 13); }},
        {"artwork/Stop.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return face(kTransport, "Stop", FaceState::Down, 13); }},
        {"artwork/Rewind.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return face(kTransport, "Rew", FaceState::Up, 13); }},
        {"artwork/Previous.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return face(kTransport, "Prev", FaceState::Up, 13); }},
        {"artwork/Next.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return face(kTransport, "Next", FaceState::Up, 13); }},
        {"artwork/StepBack.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return renderFace(kTransport, QString(), FaceState::Up, FaceGlyph::ChevronsLeft); }},
        {"artwork/StepForward.bmp", kTransport, kScreenPixelsPerMetre,
         [] { return renderFace(kTransport, QString(), FaceState::Up, FaceGlyph::ChevronsRight); }},
        {"artwork/PrintRecipe.bmp",
         {120, 33},
         kScreenPixelsPerMetre,
         [] {
             return face({120, 33}, "Print Recipe", FaceState::Up, 14);
         }},
        {"recipes/BulletHeadHopper.bmp",
         {301, 225},
         kPrintPixelsPerMetre,
         [] {
             return renderFlyPicture(FlyKind::BulletHeadHopper, {301, 225});
         }},
        {"recipes/DeerHairCricket.bmp",
         {300, 300},
         kPrintPixelsPerMetre,
         [] {
             return renderFlyPicture(FlyKind::DeerHairCricket, {300, 300});
         }},
        {"recipes/ParachuteAdams.bmp",
         {295, 196},
         kPrintPixelsPerMetre,
         [] {
             return renderFlyPicture(FlyKind::ParachuteAdams, {295, 196});
         }},
        {"recipes/GoldRibbedHaresEarNymph.bmp",
         {266, 80},
         kPrintPixelsPerMetre,
         [] {
             return renderFlyPicture(FlyKind::HaresEarNymph, {266, 80});
         }},
        {"recipes/ParachuteHopper.bmp",
         {388, 201},
         kPrintPixelsPerMetre,
         [] {
             return renderFlyPicture(FlyKind::ParachuteHopper, {388, 201});
         }},
        {"recipes/DeerHairAnt.bmp",
         {201, 154},
         kPrintPixelsPerMetre,
         [] {
             return renderFlyPicture(FlyKind::DeerHairAnt, {201, 154});
         }},
    };
    return list;
}

} // namespace

QList<ArtworkPicture> artworkPictures()
{
    QList<ArtworkPicture> out;
    for (const Entry& e : entries())
        out.append({QString::fromLatin1(e.path), e.size, e.pixelsPerMetre});
    return out;
}

QImage renderArtwork(const QString& path)
{
    for (const Entry& e : entries())
        if (path == QLatin1String(e.path)) {
            QImage image = e.render();
            Q_ASSERT(image.size() == e.size);
            return image;
        }
    return {};
}

bool writeArtwork(const QString& dir, QString* error)
{
    for (const Entry& e : entries()) {
        const QString path = QDir(dir).filePath(QString::fromLatin1(e.path));
        if (!writeBmp24(e.render(), path, e.pixelsPerMetre, error))
            return false;
    }
    return true;
}

} // namespace hw
