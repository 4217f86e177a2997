#pragma once
// The windows the splash hands the program over to: the tutor window (Form1) and the six
// recipe cards, created by the hand-over and owned here until the program ends.
#include "hw/app/TSplashForm.h"

#include <QObject>

#include <memory>

namespace hw {

class TForm1;

class ProgramForms {
public:
    ProgramForms();
    ~ProgramForms();
    ProgramForms(const ProgramForms&) = delete;
    ProgramForms& operator=(const ProgramForms&) = delete;

    // The hand-over steps that create, show and start these windows.
    HandOverSteps handOverSteps();

    TForm1* tutorWindow() const { return tutor_.get(); }

private:
    void createTutorWindow();
    void createRecipeCards();
    void showTutorWindow();
    void clickQuickTour();

    std::unique_ptr<TForm1> tutor_;
    std::unique_ptr<QObject> cardOwner_;
};

} // namespace hw
