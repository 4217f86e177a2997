// The program's entry, for now: shows the tutor window straight away and opens the Quick
// Tour a second later, as the start-up sequence will once it has played the splash video.
#include "hw/app/TApplication.h"
#include "hw/tutor/TForm1.h"

#include <QTimer>

int main(int argc, char** argv)
{
    hw::TApplication app(argc, argv);
    // The tutor window is not the main window: the program ends only when it is told to.
    app.setQuitOnLastWindowClosed(false);

    hw::TForm1 form;
    for (const hw::CatalogueError& error : form.catalogueErrors())
        app.ShowErrorMessage(error.message);
    form.show();
    QTimer::singleShot(1000, form.QuickTourButton, &QAbstractButton::click);
    app.exec();
    return 0;
}
