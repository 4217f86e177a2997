#pragma once
// The preview window: maximised, empty caption, a toolbar, a status text with a progress bar
// and the page view. Deletes itself when closed.
#include <QHash>
#include <QWidget>
#include <memory>

class QLabel;
class QProgressBar;
class QToolBar;
class QToolButton;

namespace hw {

class TReportOutput;
class TReportPreview;

class TReportPreviewWindow : public QWidget {
    Q_OBJECT
public:
    // `output` stays owned by the caller and must outlive the window.
    explicit TReportPreviewWindow(TReportOutput* output, QWidget* parent = nullptr);
    ~TReportPreviewWindow() override;

    TReportPreview* preview() const { return preview_; }
    // "Working..." while generating, then "Page n of m".
    QString statusText() const;
    bool progressVisible() const;
    // The toolbar button of a control (ZoomToFit, ZoomTo100, ZoomToWidth, FirstPage,
    // PrevPage, NextPage, LastPage, PrintSetup, Print, Save, Load, Exit).
    QToolButton* button(const QString& controlName) const;

    // Save and Load without their file dialogs: a ".pdf" path exports a PDF, any other the
    // engine's page file.
    bool saveTo(const QString& path, QString* error = nullptr);
    bool loadFrom(const QString& path, QString* error = nullptr);
    // The pages on view: loaded ones after Load, else the generation's.
    TReportOutput* shownOutput() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildToolbar();
    void updateStatus();
    void onSave();
    void onLoad();

    TReportOutput* output_;
    std::unique_ptr<TReportOutput> loaded_;
    TReportPreview* preview_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QHash<QString, QToolButton*> buttons_;
    bool working_ = true;
};

} // namespace hw
