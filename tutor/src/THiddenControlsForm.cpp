#include "hw/tutor/THiddenControlsForm.h"

#include "Artwork.h"

#include <QCoreApplication>

namespace hw {

THiddenControlsForm* HiddenControlsForm = nullptr;

namespace {

ImageBox* storeImage(QWidget* owner, const char* name, Art art)
{
    auto* image = new ImageBox(owner);
    image->setObjectName(QLatin1String(name));
    image->setPicture(loadArtwork(art));
    image->resize(image->Picture().size());
    return image;
}

void destroyStore()
{
    delete HiddenControlsForm;
    HiddenControlsForm = nullptr;
}

} // namespace

THiddenControlsForm::THiddenControlsForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("HiddenControlsForm"));
    QuickTourImage = storeImage(this, "QuickTourImage", Art::QuickTourLogo);
    TechniquesImage = storeImage(this, "TechniquesImage", Art::TechniquesLogo);
    StopButton = storeImage(this, "StopButton", Art::Stop);
    PlayButton = storeImage(this, "PlayButton", Art::Play);
    MainMenuImage = storeImage(this, "MainMenuImage", Art::MainMenu);
    PatternsMenuImage = storeImage(this, "PatternsMenuImage", Art::PatternsMenu);
    PatternsButtonImage = storeImage(this, "PatternsButtonImage", Art::PatternsUp);
    PatternsButtonDownImage = storeImage(this, "PatternsButtonDownImage", Art::PatternsDown);
    QuickTourButtonImage = storeImage(this, "QuickTourButtonImage", Art::QuickTourUp);
    QuickTourButtonDownImage = storeImage(this, "QuickTourButtonDownImage", Art::QuickTourDown);
    TechniquesButtonImage = storeImage(this, "TechniquesButtonImage", Art::TechniquesUp);
    TechniquesButtonDownImage = storeImage(this, "TechniquesButtonDownImage", Art::TechniquesDown);
}

void THiddenControlsForm::setVisible(bool)
{
    QWidget::setVisible(false);
}

THiddenControlsForm* createHiddenControlsForm()
{
    if (!HiddenControlsForm) {
        HiddenControlsForm = new THiddenControlsForm;
        // Widgets must go before the application object does.
        qAddPostRoutine(destroyStore);
    }
    return HiddenControlsForm;
}

} // namespace hw
