#pragma once
// The tutor window: three sections (Quick Tour, Techniques, the pattern gallery and its
// lessons), each a list of topics played as frame ranges of one video in the video panel,
// with the clip transport and the right/left-handed choice.
//
// Components are public, named as in the window's form layout; handlers are public so that
// the program entry and simulated clicks can call them, and run like any event handler.
#include "hw/content/Catalogue.h"
#include "hw/listen/CommandListener.h"
#include "hw/media/TMediaPlayer.h"
#include "hw/tutor/GalleryListBox.h"
#include "hw/tutor/ImageBox.h"
#include "hw/tutor/ListBox.h"
#include "hw/tutor/PictureButton.h"

#include <QComboBox>
#include <QDir>
#include <QSettings>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace hw {

class PracticeTools;
class PanelNote;
class TransportShortcuts;
struct StepInfo;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    using PrintRecipeHandler = std::function<void(const tFlyRecord* currentFly)>;
    using CatalogueLoader = std::function<std::vector<CatalogueError>(
        Catalogue& catalogue, const DisplayNameSink& sink, const QDir& root)>;

    struct Options {
        QDir contentRoot = QDir::current();  // where the content tree lies
        CatalogueLoader loader;              // empty: hw::initResources
        std::shared_ptr<QSettings> settings; // sound level store; empty: the user's settings
        // The clip's sound output; empty: the desktop's sound server.
        std::function<std::unique_ptr<SoundOutput>()> makeSound;
        // Listens for spoken commands (V); empty: there is no microphone to listen with.
        std::function<std::unique_ptr<CommandListener>()> makeListener;
    };

    TForm1();
    explicit TForm1(Options options);
    ~TForm1() override;

    // Components, in the order the window declares them (bottom of the stacking first).
    ImageBox* BackgroundImage;
    PictureButton* GoinFishinButton;
    PictureButton* QuickTourButton;
    PictureButton* PatternsButton;
    PictureButton* TechniquesButton;
    PictureButton* PlayStopButton;
    PictureButton* RewindButton;
    PictureButton* PreviousButton;
    PictureButton* NextButton;
    QComboBox* RightLeftComboBox;
    ListBox* TopicsListBox;
    PictureButton* StepBackButton;
    PictureButton* StepForwardButton;
    TMediaPlayer* MediaPlayer1;
    ImageBox* LogoImage;
    ListBox* MaterialsAndInstructionsListBox;
    QWidget* VideoPanel;
    GalleryListBox* PatternsListBox;
    PictureButton* PrintRecipeButton;

    // Window-level handlers.
    void FormCreate();
    void FormResize();
    void FormClose();
    void GoinFishinButtonCick();
    void MaterialsAndInstructionsListBoxClick();

    // Sections and topic navigation.
    void QuickTourButtonClick();
    void TechniquesButtonClick();
    void PatternsButtonClick();
    void PatternsListBoxClick();
    void PatternsListBoxDrawItem(QPainter& painter, int32_t Index, const QRect& Rect, QStyle::State State);
    void TopicsListBoxClick();
    void NextButtonClick();
    void PreviousButtonClick();

    // Clip transport and handedness.
    void PlayStopButtonClick();
    void MediaPlayer1Notify();
    void RewindButtonClick();
    void StepForwardButtonClick();
    void StepBackButtonClick();
    void RightLeftComboBoxChange();
    void PrintRecipeButtonClick();

    // Group switches.
    void ShowPrimaryInterface(bool Value);
    void ShowExtendedVideoControls(bool Value);
    void ShowPatternSelectionInterface(bool Value);

    // Topic positioning.
    void setStartAndEndPos(int32_t Start, int32_t Stop);
    void AdvanceToFrame(int32_t Frame);
    void StopVideo();
    void setStartPosOnly(int32_t Start);
    void setEndPosOnly(int32_t Stop);
    void setPositionOnly(int32_t Frame);

    // The handedness index: 0 "Tie Right Handed", 1 "Tie Left Handed".
    int handedness() const;

    // Navigation state.
    const Catalogue& catalogue() const { return catalogue_; }
    const std::vector<CatalogueError>& catalogueErrors() const { return catalogueErrors_; }
    tFlyRecord* currentFly() const { return currentFly_; }
    tTopicRecord* currentSectionList() const { return currentSectionList_; }
    tTopicRecord* currentTopic() const { return currentTopic_; }
    int32_t currentOffset() const { return currentOffset_; }
    const QDir& contentRoot() const { return contentRoot_; }

    void setPrintRecipeHandler(PrintRecipeHandler handler) { printRecipe_ = std::move(handler); }

    // The client area's design size.
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 453;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Section { QuickTour, Techniques };
    void createComponents();
    void wireEvents();
    void openSection(Section section);
    void setPlayFace();
    void setStopFace();
    void startPlay(); // the play branch of Play/Stop
    void loopSwitched(bool on);
    void playOnWithNewSettings();
    void navigate(std::function<void()> choice);
    void showGallery();
    void showChosenPattern();
    void showChosenTopic();
    void onHandednessEdited(const QString& text);
    void restoreHandednessText();
    void closeClip();
    // The band over the video in a pattern lesson: the pattern, the step and the hand.
    void showLessonTitle();
    StepInfo describeStep() const;             // for the practice view's band
    void spokenCommand(SpokenCommand command); // acts as the command's key does
    void keepFocusOnScreen(QWidget* focusBefore, QWidget* successor);
    QString clipFileName(const QString& contentPath) const;
    QString patternClipFileName(const tFlyRecord& fly) const;
    static void processPendingEvents();

    QDir contentRoot_;
    CatalogueLoader loader_;
    Catalogue catalogue_;
    std::vector<CatalogueError> catalogueErrors_;
    PrintRecipeHandler printRecipe_;

    tFlyRecord* currentFly_ = nullptr;
    tTopicRecord* currentSectionList_ = nullptr;
    tTopicRecord* currentTopic_ = nullptr;
    int32_t currentOffset_ = 0;

    bool navigating_ = false;
    std::function<void()> choiceMeanwhile_;

    bool sizeSaved_ = false;
    int32_t savedHeight_ = 0;
    int32_t savedWidth_ = 0;
    bool centred_ = false;

    std::unique_ptr<TransportShortcuts> shortcuts_;
    std::shared_ptr<QSettings> settings_;
    std::function<std::unique_ptr<SoundOutput>()> makeSound_;
    std::function<std::unique_ptr<CommandListener>()> makeListener_;
    PracticeTools* practice_ = nullptr; // loop, speed, sound level and the key sheet
    PanelNote* lessonTitle_ = nullptr;  // our band over the video, not a control of the layout
    bool stopFaceShown_ = false;
    bool handBeingTyped_ = false; // from the first key typed into the hand field to its end
};

// The one tutor window, set while it is being created and cleared when it is destroyed.
extern TForm1* Form1;

} // namespace hw
