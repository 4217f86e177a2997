#pragma once
// The tutor window as the hardening tests drive it: started on a content tree the way the
// program's hand-over starts it (catalogue errors in the error box, the window shown, the
// Quick Tour clicked), driven by mouse and keyboard events so that an error leaving a
// handler reaches the application's error box, and checked against the screen table.
#include "hw/tutor/TForm1.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QObject;

namespace hw::test {

// The four columns of the tutor's screen table.
enum class Screen { QuickTour, Techniques, Gallery, Lesson };
const char* screenName(Screen screen);

// What differs between the window and a column of the screen table ("" when nothing does).
QString screenMismatch(const TForm1& form, Screen screen);
// The column the window shows, if any.
std::optional<Screen> screenOf(const TForm1& form);

// A frame as the corpus and soak videos colour it (see make-broken): lesson and number.
struct ColouredFrame {
    int lesson = -1;
    int frame = -1;
    bool operator==(const ColouredFrame&) const = default;
};
// Reads the colour of a picture; nullopt when it carries no readable colour.
std::optional<ColouredFrame> readColouredFrame(const QImage& picture);

class TutorSession {
public:
    struct Options {
        bool printRecipes = false; // wire Print Recipe to the real recipe cards
    };
    // Creates the window on root, shows each catalogue error in the error box as the
    // hand-over does, shows the window; clicks nothing yet.
    explicit TutorSession(const QDir& root, Options options);
    explicit TutorSession(const QDir& root) : TutorSession(root, Options{}) {}
    ~TutorSession();

    TForm1& form() const { return *form_; }
    TForm1* operator->() const { return form_.get(); }

    // Error box texts shown so far, and those shown since the last call of takeBoxes.
    const std::vector<QString>& boxes() const;
    std::vector<QString> takeBoxes();

    // Mouse and keyboard as the user uses them.
    void click(QWidget* widget);
    void clickTopic(int row);
    void clickGalleryItem(int row);
    int galleryRowOf(const QByteArray& displayName) const;
    // Chooses a hand in the drop-down with the keyboard (0 right, 1 left).
    void chooseHand(int hand);

    bool showsPlayFace() const;
    bool showsStopFace() const;

    // Waits up to 20 s, processing events.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

private:
    std::unique_ptr<QObject> cardOwner_;
    std::unique_ptr<TForm1> form_;
    size_t taken_ = 0;
};

// The topic chain's titles, in order.
QStringList titlesOf(const tTopicRecord* chain);

} // namespace hw::test
