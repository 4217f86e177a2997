#include "hw/app/ProgramForms.h"

#include "hw/app/Application.h"
#include "hw/listen/Listening.h"
#include "hw/listen/PlayedSound.h"
#include "hw/tutor/SoundLevel.h"
#include "hw/tutor/TForm1.h"

#include <QFileInfo>

#include "hw/recipes/Recipes.h"

namespace hw {

ProgramForms::ProgramForms() = default;

ProgramForms::~ProgramForms()
{
    // The tutor window first: its clip may still be playing and its Print Recipe hook
    // refers to the cards.
    tutor_.reset();
    cardOwner_.reset();
}

HandOverSteps ProgramForms::handOverSteps()
{
    return HandOverSteps{
        [this] { createTutorWindow(); },
        [this] { createRecipeCards(); },
        [this] { showTutorWindow(); },
        [this] { clickQuickTour(); },
    };
}

void ProgramForms::createTutorWindow()
{
    // What the lesson plays is kept for a moment, so that spoken commands are heard over it.
    auto played = std::make_shared<PlayedSound>();
    TForm1::Options options;
    options.makeSound = [played] { return PlayedSound::tap(played, makePulseSoundOutput()); };
    options.makeListener = [played] {
        const QString settingsFolder = QFileInfo(userSettings()->fileName()).absolutePath();
        return makeMicrophoneListener(readCommandPhrases(commandPhrasesPath(settingsFolder)), played);
    };
    tutor_ = std::make_unique<TForm1>(std::move(options));
    tutor_->setPrintRecipeHandler([](const tFlyRecord* currentFly) { printRecipe(currentFly); });
    // The catalogue's loader goes on past a file it cannot read; each one it met is shown
    // as the error it is, in the order met.
    for (const CatalogueError& error : tutor_->catalogueErrors())
        showErrorBox(error.message);
}

void ProgramForms::createRecipeCards()
{
    cardOwner_ = std::make_unique<QObject>();
    hw::createRecipeCards(cardOwner_.get());
}

void ProgramForms::showTutorWindow()
{
    if (!tutor_)
        return;
    tutor_->show();
    tutor_->raise();
    tutor_->activateWindow();
}

void ProgramForms::clickQuickTour()
{
    if (Form1)
        Form1->QuickTourButton->click();
}

} // namespace hw
