#pragma once
// The small "Printing progress" window shown while a report prints.
#include <QWidget>

class QLabel;
class QProgressBar;

namespace hw {

class TReportOutput;

class PrintProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit PrintProgressWindow(TReportOutput* output, QWidget* parent = nullptr);

private:
    QLabel* label_;
    QProgressBar* bar_;
};

} // namespace hw
