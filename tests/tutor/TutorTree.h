#pragma once
// Content trees for the tutor tests, with stamped clips so that the frame on screen can be
// read back, and the helpers that drive the window as a user would.
#include "hw/tutor/TForm1.h"

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace hw::test {

// The trees are written once per build of the test binary and shared by its tests (each
// test case runs in its own process); they are never modified.
//
// "standard": QuickTour (3 topics, offset 0), Techniques (2 topics, offset 12), patterns
// Adams (3 steps, offset 45, a 60 x 40 two-colour picture), "Cr\xE8me Caddis" (2 steps,
// offset 40) and "Zulu Empty" (numsteps 0, materials only, no clip).
QDir standardTree();
// "range": the pattern "Range" with one step 100..200, offset 500, in a 700-frame clip;
// "Huge", whose frames lie at the ends of the 32-bit range.
QDir rangeTree();
// "empty": no QuickTour or Techniques file, one pattern with numsteps -1.
QDir emptyTree();
// "twins": two pattern files with the same display name and different pictures.
QDir twinsTree();
// The demo lesson library, when the generator is built in; nullopt otherwise.
std::optional<QDir> demoTree();

// A window on a tree, shown, with error boxes collected instead of shown. Its settings
// store is the one given, or a fresh one of its own (never the user's).
class Window {
public:
    explicit Window(const QDir& root, TForm1::CatalogueLoader loader = {},
                    std::shared_ptr<QSettings> settings = {});
    ~Window();
    TForm1& operator*() const { return *form_; }
    TForm1* operator->() const { return form_.get(); }
    const std::vector<QString>& errorBoxes() const;

private:
    QTemporaryDir settingsDir_;
    std::unique_ptr<TForm1> form_;
};

// Mouse clicks as the user makes them.
void click(QWidget* widget);
void clickTopic(TForm1& form, int row);
void clickGalleryItem(TForm1& form, int row);
int galleryRowOf(TForm1& form, const QByteArray& displayName);
// Presses Patterns and clicks the pattern's picture in the gallery.
void openPattern(TForm1& form, const QByteArray& displayName);

// The frame number stamped in the picture the video panel shows, or nullopt.
std::optional<int> frameOnScreen(TForm1& form);
// Waits (up to 20 s) until the panel shows frame and the device has stopped there.
bool waitForFrame(TForm1& form, int frame);
// Waits until the device has stopped and the Play face is back.
bool waitForPlayFace(TForm1& form);
// Waits until the device plays.
bool waitForPlaying(TForm1& form);
// Plays the current topic to its end: presses Play, waits for the end. Returns every frame
// seen on the way (sampled whenever the event loop ran).
std::vector<int> playToEnd(TForm1& form);

bool showsPlayFace(TForm1& form);
bool showsStopFace(TForm1& form);

} // namespace hw::test
