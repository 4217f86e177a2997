#pragma once
// What labels and memos share: the caption, alignment, auto size and word wrap.
#include "hw/report/TReportPrintable.h"

#include <QStringList>

namespace hw {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TReportCustomLabel : public TReportPrintable {
public:
    QString caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    TAlignment alignment() const { return alignment_; }
    // Any alignment other than left turns AutoSize off.
    void setAlignment(TAlignment alignment);
    bool alignToBand() const { return alignToBand_; }
    void setAlignToBand(bool align) { alignToBand_ = align; }
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
    bool autoStretch() const { return autoStretch_; }
    void setAutoStretch(bool stretch) { autoStretch_ = stretch; }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap) { wordWrap_ = wrap; }

    // The lines to print before wrapping: the caption when not empty, else the memo lines.
    virtual QStringList textLines() const = 0;

protected:
    using TReportPrintable::TReportPrintable;

private:
    QString caption_;
    TAlignment alignment_ = taLeftJustify;
    bool alignToBand_ = false;
    bool autoSize_ = true;
    bool autoStretch_ = false;
    bool wordWrap_ = true;
};

} // namespace hw
