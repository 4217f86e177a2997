#pragma once
// The image store: a window that is never shown and holds the alternate pictures that the
// tutor window's handlers copy onto its own controls. It never changes after creation.
#include "hw/tutor/TImage.h"

#include <QWidget>

namespace hw {

class THiddenControlsForm : public QWidget {
    Q_OBJECT
public:
    explicit THiddenControlsForm(QWidget* parent = nullptr);

    TImage* QuickTourImage;
    TImage* TechniquesImage;
    TImage* StopButton;
    TImage* PlayButton;
    TImage* MainMenuImage;
    TImage* PatternsMenuImage;
    TImage* PatternsButtonImage;
    TImage* PatternsButtonDownImage;
    TImage* QuickTourButtonImage;
    TImage* QuickTourButtonDownImage;
    TImage* TechniquesButtonImage;
    TImage* TechniquesButtonDownImage;

    void setVisible(bool visible) override; // stays hidden
};

// The one store, or null before the first call of createHiddenControlsForm.
extern THiddenControlsForm* HiddenControlsForm;
// Creates the store on first use; it lives until the application object is destroyed.
THiddenControlsForm* createHiddenControlsForm();

} // namespace hw
