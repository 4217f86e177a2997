#include "CardPicture.h"

#if defined(HW_HAVE_ASSETS)
#include "hw/assets/Assets.h"
#endif

#include <QLoggingCategory>

namespace hw {
namespace {
Q_LOGGING_CATEGORY(lcCards, "hw.recipes", QtWarningMsg)
} // namespace

QImage loadCardPicture(const QString& resource)
{
#if defined(HW_HAVE_ASSETS)
    // The resources of a static library are registered on first use.
    static const bool registered = [] {
        hw::initAssets();
        return true;
    }();
    (void)registered;
#endif
    QImage picture(resource);
    if (picture.isNull())
        qCWarning(lcCards) << "card picture" << resource << "is missing";
    return picture;
}

} // namespace hw
