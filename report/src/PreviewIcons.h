#pragma once
// The preview toolbar's icons, drawn in code so they stay crisp at any device pixel ratio.
#include <QIcon>

namespace hw {

enum class PreviewIcon {
    ZoomToFit,
    ZoomTo100,
    ZoomToWidth,
    FirstPage,
    PrevPage,
    NextPage,
    LastPage,
    PrintSetup,
    Print,
    Save,
    Load,
    Close
};

QIcon previewIcon(PreviewIcon which);

} // namespace hw
