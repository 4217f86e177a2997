#include "hw/tutor/TForm1.h"

#include "Artwork.h"
#include "FrameMath.h"
#include "HandsFree.h"
#include "PanelNote.h"
#include "PracticeTools.h"
#include "PracticeView.h"
#include "TransportShortcuts.h"
#include "WindowFont.h"
#include "hw/AnsiText.h"
#include "hw/Termination.h"
#include "hw/tutor/SoundLevel.h"
#include "hw/tutor/THiddenControlsForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>

namespace hw {

TForm1* Form1 = nullptr;

namespace {

// The creation handler runs as an event, so that an error leaving it is reported by the
// application's default error box like an error leaving any other handler.
const QEvent::Type kFormCreateEvent = QEvent::Type(QEvent::registerEventType());

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

PictureButton* pictureButton(QWidget* owner, const char* name, QRect geometry, Art face, const char* hint,
                             bool visible = true)
{
    auto* button = new PictureButton(owner);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFace(loadArtwork(face));
    button->setHint(QString::fromLatin1(hint));
    button->setVisible(visible);
    return button;
}

ListBox* listBox(ListBox* list, const char* name, QRect geometry, const char* hint)
{
    list->setObjectName(QLatin1String(name));
    list->setGeometry(geometry);
    list->setToolTip(QString::fromLatin1(hint));
    list->setAccessibleName(QString::fromLatin1(hint));
    return list;
}

} // namespace

TForm1::TForm1()
    : TForm1(Options{})
{ }

TForm1::TForm1(Options options)
    : QWidget(nullptr, kWindowFlags)
    , contentRoot_(std::move(options.contentRoot))
    , loader_(std::move(options.loader))
    , settings_(std::move(options.settings))
    , makeSound_(std::move(options.makeSound))
    , makeListener_(std::move(options.makeListener))
{
    if (!settings_)
        settings_ = userSettings();
    if (!loader_)
        loader_ = [](Catalogue& c, const DisplayNameSink& sink, const QDir& root) {
            return initResources(c, sink, root);
        };
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Hacklewright - Volume 2"));
    setFont(windowFont());
    resize(kClientWidth, kClientHeight);
    createComponents();
    wireEvents();
    // An error in the creation handler ends it and is reported; the window still exists.
    QEvent create(kFormCreateEvent);
    QCoreApplication::sendEvent(this, &create);
}

TForm1::~TForm1()
{
    // Destroying the window takes the focus from the hand field, whose editing-finished
    // signal would then reach a window that is no longer a TForm1.
    disconnect(RightLeftComboBox->lineEdit(), nullptr, this, nullptr);
    // The device goes first: it may still be drawing into the video panel.
    delete MediaPlayer1;
    MediaPlayer1 = nullptr;
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::createComponents()
{
    BackgroundImage = new ImageBox(this);
    BackgroundImage->setObjectName(QStringLiteral("BackgroundImage"));
    BackgroundImage->setGeometry(0, 0, 632, 453);
    BackgroundImage->setStretch(true);
    BackgroundImage->setPicture(loadArtwork(Art::MainMenu));

    GoinFishinButton = pictureButton(this, "GoinFishinButton", {502, 408, 119, 41}, Art::GoinFishin,
                                     "Click to exit the program");
    QuickTourButton = pictureButton(this, "QuickTourButton", {502, 89, 119, 41}, Art::QuickTourUp,
                                    "Click for an overview of Hacklewright");
    PatternsButton = pictureButton(this, "PatternsButton", {502, 185, 119, 41}, Art::PatternsUp,
                                   "Click to view patterns and tying demonstrations");
    TechniquesButton = pictureButton(this, "TechniquesButton", {502, 137, 119, 41}, Art::TechniquesUp,
                                     "Click to view common tying techniques");
    // The section buttons tell assistive tools which section is current: the checked one.
    for (PictureButton* section : {QuickTourButton, PatternsButton, TechniquesButton})
        section->setCheckable(true);
    PlayStopButton = pictureButton(this, "PlayStopButton", {124, 417, 49, 32}, Art::Play,
                                   "Click to play or stop the current topic/video clip");
    RewindButton = pictureButton(this, "RewindButton", {179, 417, 49, 32}, Art::Rewind,
                                 "Click to rewind the current topic/video clip");
    PreviousButton = pictureButton(this, "PreviousButton", {15, 417, 49, 32}, Art::Previous,
                                   "Click to move to the previous topic/video clip");
    NextButton = pictureButton(this, "NextButton", {287, 417, 49, 32}, Art::Next,
                               "Click to move to the next topic/video clip");

    RightLeftComboBox = new QComboBox(this);
    RightLeftComboBox->setObjectName(QStringLiteral("RightLeftComboBox"));
    RightLeftComboBox->setGeometry(351, 386, 129, 21);
    RightLeftComboBox->setEditable(true);
    RightLeftComboBox->setInsertPolicy(QComboBox::NoInsert);
    RightLeftComboBox->addItem(QStringLiteral("Tie Right Handed"));
    RightLeftComboBox->addItem(QStringLiteral("Tie Left Handed"));
    RightLeftComboBox->setEditText(QStringLiteral("Tie Right Handed"));
    const QString comboHint = QStringLiteral("Click to choose left of right handed demonstrations");
    RightLeftComboBox->setToolTip(comboHint);
    RightLeftComboBox->setAccessibleDescription(comboHint);
    const QString comboName = QStringLiteral("Choose right- or left-handed tying");
    RightLeftComboBox->setAccessibleName(comboName);
    RightLeftComboBox->lineEdit()->setAccessibleName(comboName);
    RightLeftComboBox->setVisible(false);

    TopicsListBox = listBox(new ListBox(this), "TopicsListBox", {349, 168, 129, 206},
                            "Select a topic/video clip from the list");

    StepBackButton = pictureButton(this, "StepBackButton", {69, 417, 49, 32}, Art::StepBack,
                                   "Click to step backward one frame", false);
    StepForwardButton = pictureButton(this, "StepForwardButton", {233, 417, 49, 32}, Art::StepForward,
                                      "Click to step forward one frame", false);

    LogoImage = new ImageBox(this);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setGeometry(15, 79, 120, 80);
    LogoImage->setPicture(loadArtwork(Art::QuickTourLogo));

    MaterialsAndInstructionsListBox
        = listBox(new ListBox(this), "MaterialsAndInstructionsListBox", {148, 88, 331, 70},
                  "Instructions or materials will appear here");
    MaterialsAndInstructionsListBox->setDisplayOnly(true);

    VideoPanel = new QWidget(this);
    VideoPanel->setObjectName(QStringLiteral("VideoPanel"));
    VideoPanel->setGeometry(15, 168, 320, 240);
    VideoPanel->setAutoFillBackground(true);
    QPalette videoPalette = VideoPanel->palette();
    videoPalette.setColor(QPalette::Window, Qt::black);
    VideoPanel->setPalette(videoPalette);
    VideoPanel->setAccessibleName(QStringLiteral("Video"));
    VideoPanel->setFocusPolicy(Qt::NoFocus);

    // Created after the panel it draws into; not a widget, so it takes no place.
    MediaPlayer1 = new TMediaPlayer(this);
    if (makeSound_)
        MediaPlayer1->setSoundOutput(makeSound_);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    MediaPlayer1->setDeviceType(TMPDeviceTypes::dtAVIVideo);
    MediaPlayer1->setAutoEnable(false);
    MediaPlayer1->setAutoRewind(false);
    MediaPlayer1->setVisible(false);
    MediaPlayer1->setDisplay(VideoPanel);

    PatternsListBox
        = static_cast<GalleryListBox*>(listBox(new GalleryListBox(this), "PatternsListBox",
                                               {64, 161, 375, 180}, "Select a pattern for a tying lesson"));
    PatternsListBox->setFrameShape(QFrame::NoFrame);
    PatternsListBox->setVisible(false);

    PrintRecipeButton
        = pictureButton(this, "PrintRecipeButton", {355, 417, 120, 32}, Art::PrintRecipe, "", false);

    // Windowed controls lie above every picture, in the order the window declares them.
    RightLeftComboBox->raise();
    TopicsListBox->raise();
    MaterialsAndInstructionsListBox->raise();
    VideoPanel->raise();
    PatternsListBox->raise();

    // Keyboard order: the lists and the drop-down as the window numbers them, then the
    // section buttons, the exit button and the transport row from left to right.
    const QList<QWidget*> order = {RightLeftComboBox, TopicsListBox,    MaterialsAndInstructionsListBox,
                                   PatternsListBox,   QuickTourButton,  TechniquesButton,
                                   PatternsButton,    GoinFishinButton, PreviousButton,
                                   StepBackButton,    PlayStopButton,   RewindButton,
                                   StepForwardButton, NextButton,       PrintRecipeButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    shortcuts_ = std::make_unique<TransportShortcuts>(this);
    shortcuts_->add(QKeySequence(Qt::Key_Space), PlayStopButton);
    shortcuts_->add(QKeySequence(Qt::Key_Left), StepBackButton, true);
    shortcuts_->add(QKeySequence(Qt::Key_Right), StepForwardButton, true);
    shortcuts_->add(QKeySequence(Qt::Key_Home), RewindButton);
    shortcuts_->add(QKeySequence(Qt::Key_PageUp), PreviousButton);
    shortcuts_->add(QKeySequence(Qt::Key_PageDown), NextButton);

    practice_ = new PracticeTools(this, VideoPanel, MediaPlayer1, settings_);
    lessonTitle_ = new PanelNote(VideoPanel, PanelNote::Corner::TopBand, QStringLiteral("LessonTitle"));
    practice_->onLoopSwitched = [this](bool on) { loopSwitched(on); };
    practice_->onSpeedChanged = [this] { playOnWithNewSettings(); };
    practice_->shareKeysWith(RightLeftComboBox, [this] { return handBeingTyped_; });
    practice_->view()->describeStep = [this] { return describeStep(); };
    shortcuts_->alsoIn(practice_->view());
    practice_->handsFree()->setListenerFactory(makeListener_);
    practice_->handsFree()->onCommand = [this](SpokenCommand command) { spokenCommand(command); };
    practice_->handsFree()->restore();
}

StepInfo TForm1::describeStep() const
{
    StepInfo info;
    if (!currentTopic_)
        return info;
    info.step = currentTopic_;
    info.title = ansiToQString(currentTopic_->title);
    for (const tTopicRecord* topic = currentSectionList_; topic; topic = topic->next) {
        ++info.count;
        if (topic == currentTopic_)
            info.number = info.count;
    }
    const int32_t first = handedStart(currentTopic_->startFrame, handedness(), currentOffset_);
    const int32_t last = handedStop(currentTopic_->stopFrame, handedness(), currentOffset_);
    if (last > first)
        info.done = static_cast<double>(int64_t{MediaPlayer1->Position()} - first)
            / static_cast<double>(int64_t{last} - first);
    return info;
}

void TForm1::wireEvents()
{
    auto onClick = [this](QAbstractButton* button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    onClick(GoinFishinButton, &TForm1::GoinFishinButtonCick);
    onClick(QuickTourButton, &TForm1::QuickTourButtonClick);
    onClick(TechniquesButton, &TForm1::TechniquesButtonClick);
    onClick(PatternsButton, &TForm1::PatternsButtonClick);
    onClick(NextButton, &TForm1::NextButtonClick);
    onClick(PreviousButton, &TForm1::PreviousButtonClick);
    onClick(PlayStopButton, &TForm1::PlayStopButtonClick);
    onClick(RewindButton, &TForm1::RewindButtonClick);
    onClick(StepForwardButton, &TForm1::StepForwardButtonClick);
    onClick(StepBackButton, &TForm1::StepBackButtonClick);
    onClick(PrintRecipeButton, &TForm1::PrintRecipeButtonClick);

    MaterialsAndInstructionsListBox->OnClick = [this] { MaterialsAndInstructionsListBoxClick(); };
    TopicsListBox->OnClick = [this] { TopicsListBoxClick(); };
    PatternsListBox->OnClick = [this] { PatternsListBoxClick(); };
    PatternsListBox->OnDrawItem
        = [this](QPainter& painter, int index, const QRect& rect, QStyle::State state) {
              PatternsListBoxDrawItem(painter, index, rect, state);
          };

    connect(RightLeftComboBox, &QComboBox::activated, this, [this] { RightLeftComboBoxChange(); });
    connect(RightLeftComboBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        handBeingTyped_ = true;
        onHandednessEdited(text);
    });
    connect(RightLeftComboBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        handBeingTyped_ = false;
        restoreHandednessText();
    });

    MediaPlayer1->OnNotify = [this](QObject*) { MediaPlayer1Notify(); };
}

void TForm1::FormCreate()
{
    createHiddenControlsForm();
    RightLeftComboBox->setCurrentIndex(0);
    catalogueErrors_ = loader_(
        catalogue_, [this](const QByteArray& name) { PatternsListBox->addSorted(name); }, contentRoot_);
    MediaPlayer1->setTimeFormat(TMPTimeFormats::tfFrames);
    savedHeight_ = Form1->height();
    savedWidth_ = Form1->width();
    sizeSaved_ = true;
}

void TForm1::FormResize()
{
    // Until the creation handler has saved the size, the design size stands in for it.
    const int height = sizeSaved_ ? savedHeight_ : kClientHeight;
    const int width = sizeSaved_ ? savedWidth_ : kClientWidth;
    if (size() != QSize(width, height))
        resize(width, height);
}

void TForm1::FormClose()
{
    requestTerminate();
}

void TForm1::GoinFishinButtonCick()
{
    requestTerminate();
}

void TForm1::MaterialsAndInstructionsListBoxClick()
{
    MaterialsAndInstructionsListBox->setItemIndex(-1);
}

void TForm1::ShowPrimaryInterface(bool Value)
{
    BackgroundImage->setPicture(HiddenControlsForm->MainMenuImage->Picture());
    LogoImage->setVisible(Value);
    VideoPanel->setVisible(Value);
    MaterialsAndInstructionsListBox->setVisible(Value);
    TopicsListBox->setVisible(Value);
    PreviousButton->setVisible(Value);
    PlayStopButton->setVisible(Value);
    setPlayFace();
    RewindButton->setVisible(Value);
    NextButton->setVisible(Value);
}

void TForm1::ShowExtendedVideoControls(bool Value)
{
    StepBackButton->setVisible(Value);
    StepForwardButton->setVisible(Value);
    PrintRecipeButton->setVisible(Value);
}

void TForm1::ShowPatternSelectionInterface(bool Value)
{
    BackgroundImage->setPicture(HiddenControlsForm->PatternsMenuImage->Picture());
    PatternsListBox->setVisible(Value);
}

void TForm1::PrintRecipeButtonClick()
{
    if (!currentFly_)
        return;
    if (printRecipe_)
        printRecipe_(currentFly_);
}

void TForm1::setPlayFace()
{
    stopFaceShown_ = false;
    PlayStopButton->setFace(HiddenControlsForm->PlayButton->Picture());
}

void TForm1::setStopFace()
{
    stopFaceShown_ = true;
    PlayStopButton->setFace(HiddenControlsForm->StopButton->Picture());
}

void TForm1::processPendingEvents()
{
    QCoreApplication::processEvents();
}

QString TForm1::clipFileName(const QString& contentPath) const
{
    // Content paths stay relative while the content lies in the working directory, as the
    // program has always named them; a tree elsewhere is named from its root.
    if (contentRoot_.absolutePath() == QDir::current().absolutePath())
        return contentPath;
    return contentRoot_.absolutePath() + QLatin1Char('/') + contentPath;
}

bool TForm1::event(QEvent* event)
{
    if (event->type() == kFormCreateEvent) {
        FormCreate();
        return true;
    }
    return QWidget::event(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    // Centred on the screen as a 640 x 480 window with its frame.
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = frameGeometry().size().expandedTo(QSize(640, 480));
    move(available.x() + (available.width() - frame.width()) / 2,
         available.y() + (available.height() - frame.height()) / 2);
}

} // namespace hw
