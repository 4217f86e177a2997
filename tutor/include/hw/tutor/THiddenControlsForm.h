#pragma once
// The image store: a window that is never shown and holds the alternate pictures that the
// tutor window's handlers copy onto its own controls. It never changes after creation.
#include "hw/tutor/ImageBox.h"

#include <QWidget>

namespace hw {

class THiddenControlsForm : public QWidget {
    Q_OBJECT
public:
    explicit THiddenControlsForm(QWidget* parent = nullptr);

    ImageBox* QuickTourImage;
    ImageBox* TechniquesImage;
    ImageBox* StopButton;
    ImageBox* PlayButton;
    ImageBox* MainMenuImage;
    ImageBox* PatternsMenuImage;
    ImageBox* PatternsButtonImage;
    ImageBox* PatternsButtonDownImage;
    ImageBox* QuickTourButtonImage;
    ImageBox* QuickTourButtonDownImage;
    ImageBox* TechniquesButtonImage;
    ImageBox* TechniquesButtonDownImage;

    void setVisible(bool visible) override; // stays hidden
};

// The one store, or null before the first call of createHiddenControlsForm.
extern THiddenControlsForm* HiddenControlsForm;
// Creates the store on first use; it lives until the application object is destroyed.
THiddenControlsForm* createHiddenControlsForm();

} // namespace hw
