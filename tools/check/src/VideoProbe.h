#pragma once
// A lesson video opened as the tutor opens it, for its length in frames and its rate.
#include "TopicChecks.h"

#include <QString>

namespace hw::check {

struct VideoProbe {
    bool opened = false;
    QString error; // the device's error text when not opened
    VideoFacts facts;
};

// absolutePath names an existing file.
VideoProbe probeVideo(const QString& absolutePath);

} // namespace hw::check
