#include "TutorDriver.h"

#include "hw/Termination.h"
#include "hw/app/Application.h"
#include "hw/clips/FrameStamp.h"
#include "hw/recipes/Recipes.h"
#include "hw/tutor/THiddenControlsForm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace hw::test {
namespace {

std::vector<QString>& shownBoxes()
{
    static std::vector<QString> boxes;
    return boxes;
}

bool samePicture(const LabelledPicture& a, const LabelledPicture& b)
{
    return a.image.cacheKey() == b.image.cacheKey();
}

} // namespace

const char* screenName(Screen screen)
{
    switch (screen) {
    case Screen::QuickTour:
        return "Quick Tour screen";
    case Screen::Techniques:
        return "Techniques screen";
    case Screen::Gallery:
        return "pattern gallery";
    case Screen::Lesson:
        return "pattern lesson screen";
    }
    return "?";
}

QString screenMismatch(const TForm1& f, Screen s)
{
    const THiddenControlsForm* store = HiddenControlsForm;
    QStringList wrong;
    auto expect = [&](const QWidget* w, bool shown) {
        if (w->isVisibleTo(&f) != shown)
            wrong << w->objectName() + (shown ? QStringLiteral(" hidden") : QStringLiteral(" shown"));
    };
    auto face = [&](const PictureButton* button, const ImageBox* up, const ImageBox* down, bool isDown) {
        if (!samePicture(button->Face(), (isDown ? down : up)->Picture()))
            wrong << button->objectName()
                    + (isDown ? QStringLiteral(" not down") : QStringLiteral(" not up"));
    };

    const bool primary = s != Screen::Gallery;
    for (const QWidget* w : std::initializer_list<const QWidget*>{
             f.LogoImage, f.VideoPanel, f.MaterialsAndInstructionsListBox, f.TopicsListBox, f.PreviousButton,
             f.PlayStopButton, f.RewindButton, f.NextButton})
        expect(w, primary);
    expect(f.StepBackButton, s == Screen::Techniques || s == Screen::Lesson);
    expect(f.StepForwardButton, s == Screen::Techniques || s == Screen::Lesson);
    expect(f.PrintRecipeButton, s == Screen::Lesson);
    expect(f.RightLeftComboBox, s == Screen::Lesson);
    expect(f.PatternsListBox, s == Screen::Gallery);
    for (const QWidget* w : std::initializer_list<const QWidget*>{f.GoinFishinButton, f.QuickTourButton,
                                                                  f.TechniquesButton, f.PatternsButton})
        expect(w, true);

    const ImageBox* background = s == Screen::Gallery ? store->PatternsMenuImage : store->MainMenuImage;
    if (!samePicture(f.BackgroundImage->Picture(), background->Picture()))
        wrong << QStringLiteral("background");
    face(f.QuickTourButton, store->QuickTourButtonImage, store->QuickTourButtonDownImage,
         s == Screen::QuickTour);
    face(f.TechniquesButton, store->TechniquesButtonImage, store->TechniquesButtonDownImage,
         s == Screen::Techniques);
    face(f.PatternsButton, store->PatternsButtonImage, store->PatternsButtonDownImage,
         s == Screen::Gallery || s == Screen::Lesson);

    if (s == Screen::QuickTour && !samePicture(f.LogoImage->Picture(), store->QuickTourImage->Picture()))
        wrong << QStringLiteral("logo not Quick Tour");
    if (s == Screen::Techniques && !samePicture(f.LogoImage->Picture(), store->TechniquesImage->Picture()))
        wrong << QStringLiteral("logo not Techniques");
    if (s == Screen::Lesson) {
        // A gallery name without a pattern leaves the logo empty.
        const QImage expected = f.currentFly() ? f.currentFly()->picture : QImage();
        if (f.LogoImage->Picture().image.cacheKey() != expected.cacheKey())
            wrong << QStringLiteral("logo not the pattern's picture");
    }
    if (primary && !samePicture(f.PlayStopButton->Face(), store->PlayButton->Picture())
        && !samePicture(f.PlayStopButton->Face(), store->StopButton->Picture()))
        wrong << QStringLiteral("Play/Stop face neither Play nor Stop");
    return wrong.join(QStringLiteral(", "));
}

std::optional<Screen> screenOf(const TForm1& form)
{
    for (Screen s : {Screen::QuickTour, Screen::Techniques, Screen::Gallery, Screen::Lesson})
        if (screenMismatch(form, s).isEmpty())
            return s;
    return std::nullopt;
}

std::optional<CorpusFrame> readCorpusFrame(const QImage& picture)
{
    const std::optional<int32_t> stamp = readFrameStamp(picture);
    if (!stamp)
        return std::nullopt;
    return CorpusFrame{int(*stamp / 1000), int(*stamp % 1000)};
}

TutorWindow::TutorWindow(const QDir& root, Options options)
{
    shownBoxes().clear();
    resetTerminateRequest();
    // The standard error box is captioned with the program's title; a box with another
    // caption shows up as a box of its own, which no test expects.
    Application::setErrorBoxHook([](const QString& caption, const QString& text) {
        if (caption != programTitle(QCoreApplication::applicationFilePath()))
            shownBoxes().push_back(QStringLiteral("caption ") + caption);
        shownBoxes().push_back(text);
    });
    TForm1::Options formOptions;
    formOptions.contentRoot = root;
    formOptions.loader = std::move(options.loader);
    formOptions.makeListener = std::move(options.makeListener);
    formOptions.settings = options.settings
        ? std::move(options.settings)
        : std::make_shared<QSettings>(settingsDir_.filePath(QStringLiteral("settings.ini")),
                                      QSettings::IniFormat);
    form_ = std::make_unique<TForm1>(formOptions);
    if (options.printRecipes) {
        cardOwner_ = std::make_unique<QObject>();
        createRecipeCards(cardOwner_.get());
        form_->setPrintRecipeHandler([](const tFlyRecord* fly) { printRecipe(fly); });
    }
    // The hand-over shows every file the catalogue could not read, in the order met.
    if (options.handOver)
        for (const CatalogueError& error : form_->catalogueErrors())
            showErrorBox(error.message);
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get(), 20000))
        throw std::runtime_error("the tutor window was never exposed");
    form_->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(form_.get(), 20000);
}

TutorWindow::TutorWindow(const QDir& root, TForm1::CatalogueLoader loader,
                         std::shared_ptr<QSettings> settings)
    : TutorWindow(root, Options{std::move(loader), std::move(settings), false, false, {}})
{ }

TutorWindow::~TutorWindow()
{
    form_.reset();
    cardOwner_.reset();
    Application::setErrorBoxHook({});
    resetTerminateRequest();
}

const std::vector<QString>& TutorWindow::errorBoxes() const
{
    return shownBoxes();
}

std::vector<QString> TutorWindow::takeBoxes()
{
    std::vector<QString> fresh(shownBoxes().begin() + qsizetype(taken_), shownBoxes().end());
    taken_ = shownBoxes().size();
    return fresh;
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void press(TForm1& form, Qt::Key key)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &form, key);
}

QList<QByteArray> listBytes(const ListBox* list)
{
    QList<QByteArray> lines;
    for (int i = 0; i < list->Count(); ++i)
        lines << list->bytesAt(i);
    return lines;
}

QStringList listLines(const ListBox* list)
{
    QStringList lines;
    for (const QByteArray& line : listBytes(list))
        lines << QString::fromLatin1(line);
    return lines;
}

namespace {

void clickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

void clickTopic(TForm1& form, int row)
{
    clickRow(form.TopicsListBox, row);
}

void clickGalleryItem(TForm1& form, int row)
{
    clickRow(form.PatternsListBox, row);
}

int galleryRowOf(const TForm1& form, const QByteArray& displayName)
{
    for (int i = 0; i < form.PatternsListBox->Count(); ++i)
        if (form.PatternsListBox->bytesAt(i) == displayName)
            return i;
    return -1;
}

void openPattern(TForm1& form, const QByteArray& displayName)
{
    click(form.PatternsButton);
    clickGalleryItem(form, galleryRowOf(form, displayName));
}

void chooseHandByKeys(TForm1& form, int hand)
{
    QComboBox* combo = form.RightLeftComboBox;
    combo->setFocus();
    if (hand != combo->currentIndex())
        QTest::keyClick(combo, hand > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
}

void chooseHandFromList(TForm1& form, int hand)
{
    QComboBox* combo = form.RightLeftComboBox;
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(waitFor([&] { return view->isVisible(); }));
    const QRect item = view->visualRect(view->model()->index(hand, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    ASSERT_EQ(form.handedness(), hand);
    // The offscreen platform does not give the window back its activation by itself.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 20000));
}

bool showsPlayFace(const TForm1& form)
{
    return samePicture(form.PlayStopButton->Face(), HiddenControlsForm->PlayButton->Picture());
}

bool showsStopFace(const TForm1& form)
{
    return samePicture(form.PlayStopButton->Face(), HiddenControlsForm->StopButton->Picture());
}

std::optional<int> frameOnScreen(TForm1& form)
{
    const std::optional<int32_t> frame = readFrameStamp(form.VideoPanel->grab().toImage());
    if (!frame)
        return std::nullopt;
    return int(*frame);
}

bool waitForFrame(TForm1& form, int frame)
{
    return waitFor(
        [&] { return frameOnScreen(form) == frame && form.MediaPlayer1->Mode() != TMPModes::mpPlaying; });
}

bool waitForPlayFace(TForm1& form)
{
    return waitFor([&] { return showsPlayFace(form) && form.MediaPlayer1->Mode() == TMPModes::mpStopped; });
}

bool waitForPlaying(TForm1& form)
{
    return waitFor([&] { return form.MediaPlayer1->Mode() == TMPModes::mpPlaying; });
}

std::vector<int> playToEnd(TForm1& form)
{
    std::vector<int> seen;
    auto sample = [&] {
        if (const auto f = frameOnScreen(form); f && (seen.empty() || seen.back() != *f))
            seen.push_back(*f);
    };
    click(form.PlayStopButton);
    const bool ended = waitFor(
        [&] {
            sample();
            return showsPlayFace(form) && form.MediaPlayer1->Mode() == TMPModes::mpStopped;
        },
        30000);
    if (!ended)
        ADD_FAILURE() << "the play did not come to its end";
    sample();
    return seen;
}

QStringList titlesOf(const tTopicRecord* chain)
{
    QStringList titles;
    for (; chain; chain = chain->next)
        titles << QString::fromLatin1(chain->title);
    return titles;
}

} // namespace hw::test
