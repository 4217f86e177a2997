#pragma once
// The tutor window as the tests drive it: shown on a content tree with its error boxes
// collected instead of shown, clicked and typed at as a user would (so that an error leaving
// a handler reaches the application's error box), the frame on screen read from its stamp,
// and the window checked against the screen table.
#include "WaitFor.h"
#include "hw/tutor/TForm1.h"

#include <QDir>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QObject;

namespace hw::test {

class TutorWindow {
public:
    struct Options {
        TForm1::CatalogueLoader loader;      // how the catalogue is read (the program's own when empty)
        std::shared_ptr<QSettings> settings; // a fresh store of the window's own when empty
        bool printRecipes = false;           // wire Print Recipe to the real recipe cards
        bool handOver = false; // show each catalogue error in the error box, as the program's hand-over does
        std::function<std::unique_ptr<CommandListener>()> makeListener; // spoken commands (none when empty)
    };
    // The options of a window started as the program starts it: catalogue errors in the
    // error box first.
    static Options asProgramStarts(bool printRecipes = false)
    {
        Options options;
        options.printRecipes = printRecipes;
        options.handOver = true;
        return options;
    }
    // Creates the window on root and shows it; clicks nothing yet.
    TutorWindow(const QDir& root, Options options);
    explicit TutorWindow(const QDir& root, TForm1::CatalogueLoader loader = {},
                         std::shared_ptr<QSettings> settings = {});
    ~TutorWindow();

    TForm1& form() const { return *form_; }
    TForm1& operator*() const { return *form_; }
    TForm1* operator->() const { return form_.get(); }

    // Error box texts shown so far (a box with a caption other than the program's title
    // adds a line "caption ..." before its text), and those shown since the last takeBoxes.
    const std::vector<QString>& errorBoxes() const;
    std::vector<QString> takeBoxes();

private:
    QTemporaryDir settingsDir_;
    std::unique_ptr<QObject> cardOwner_;
    std::unique_ptr<TForm1> form_;
    size_t taken_ = 0;
};

// Mouse and keyboard as the user uses them.
void click(QWidget* widget);
// A key pressed at the control that has the focus (the window when none has).
void press(TForm1& form, Qt::Key key);
void clickTopic(TForm1& form, int row);
void clickGalleryItem(TForm1& form, int row);
int galleryRowOf(const TForm1& form, const QByteArray& displayName);
// Presses Patterns and clicks the pattern's picture in the gallery.
void openPattern(TForm1& form, const QByteArray& displayName);
// Chooses a hand in the drop-down (0 right, 1 left): with the arrow keys, or by opening the
// list and clicking the item (and giving the window back its activation afterwards).
void chooseHandByKeys(TForm1& form, int hand);
void chooseHandFromList(TForm1& form, int hand);

bool showsPlayFace(const TForm1& form);
bool showsStopFace(const TForm1& form);

// The frame number stamped in the picture the video panel shows, or nullopt.
std::optional<int> frameOnScreen(TForm1& form);
// Waits until the panel shows frame and the device has stopped there.
bool waitForFrame(TForm1& form, int frame);
// Waits until the device has stopped and the Play face is back.
bool waitForPlayFace(TForm1& form);
// Waits until the device plays.
bool waitForPlaying(TForm1& form);
// Plays the current topic to its end: presses Play, waits for the end. Returns every frame
// seen on the way (sampled whenever the event loop ran).
std::vector<int> playToEnd(TForm1& form);

// The four columns of the tutor's screen table.
enum class Screen { QuickTour, Techniques, Gallery, Lesson };
const char* screenName(Screen screen);
// What differs between the window and a column of the screen table ("" when nothing does).
QString screenMismatch(const TForm1& form, Screen screen);
// The column the window shows, if any.
std::optional<Screen> screenOf(const TForm1& form);

// A frame of the broken-content corpus (see make-broken): its lesson and number, read from
// the frame stamp 1000 * lesson + frame.
struct CorpusFrame {
    int lesson = -1;
    int frame = -1;
    bool operator==(const CorpusFrame&) const = default;
};
// Reads the stamp of a picture; nullopt when it carries no readable stamp.
std::optional<CorpusFrame> readCorpusFrame(const QImage& picture);

// The lines of a list box as the catalogue holds them, and as the user reads them.
QList<QByteArray> listBytes(const ListBox* list);
QStringList listLines(const ListBox* list);

// The topic chain's titles, in order.
QStringList titlesOf(const tTopicRecord* chain);

} // namespace hw::test
