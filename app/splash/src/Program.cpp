#include "hw/app/Program.h"

#include "hw/app/Application.h"
#include "hw/app/ProgramForms.h"
#include "hw/app/TSplashForm.h"

namespace hw {

int runProgram(int& argc, char** argv)
{
    Application app(argc, argv);
    // The splash window stays the main window, hidden after the hand-over: the program
    // ends when it is asked to, never because no window is left on screen.
    app.setQuitOnLastWindowClosed(false);

    // The windows the splash creates when it hands over; they outlive the splash window.
    ProgramForms forms;
    TSplashForm::Options options;
    options.handOver = forms.handOverSteps();
    TSplashForm splash(std::move(options));
    splash.show();
    app.exec();
    return 0;
}

} // namespace hw
