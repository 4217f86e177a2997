#include "hw/assets/Assets.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE has to be used outside any namespace.
static void registerPictures()
{
    Q_INIT_RESOURCE(hw_assets_pictures);
}

namespace hw {

void initAssets()
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
}

} // namespace hw
