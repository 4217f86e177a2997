#pragma once
// The slim band along the top of the practice view: the step's title, "Step 3 of 7", where
// the play is within the step, and the practice badges. It fades two seconds after it was
// woken (by a mouse move) and takes no mouse input.
#include <QString>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

namespace hw {

// What the band tells of the step on show.
struct StepInfo {
    const void* step = nullptr; // which step it is: another one resets the zoom
    QString title;
    int number = 0; // 1-based; 0 when there is no step
    int count = 0;
    double done = 0; // where the picture on show lies within the step, 0..1
    bool operator==(const StepInfo&) const = default;
};

class ViewBand : public QWidget {
    Q_OBJECT

public:
    static constexpr int kShownMs = 2000;
    static constexpr int kHeight = 40;
    explicit ViewBand(QWidget* view);

    void setStep(const StepInfo& info);
    void setBadges(const QString& badges);
    // Shows the band at full strength and starts its time again.
    void wake();
    // The band's words, as assistive tools read them.
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void place();
    StepInfo info_;
    QString badges_;
    double opacity_ = 1.0;
    QTimer idle_;
    QVariantAnimation fade_;
};

} // namespace hw
