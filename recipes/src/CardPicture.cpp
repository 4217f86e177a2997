#include "CardPicture.h"

#include "hw/assets/Assets.h"

#include <QLoggingCategory>

namespace hw {
namespace {
Q_LOGGING_CATEGORY(lcCards, "hw.recipes", QtWarningMsg)
} // namespace

QImage loadCardPicture(const QString& resource)
{
    // The resources of a static library are registered on first use.
    static const bool registered = [] {
        hw::initAssets();
        return true;
    }();
    (void)registered;
    QImage picture(resource);
    if (picture.isNull())
        qCWarning(lcCards) << "card picture" << resource << "is missing";
    return picture;
}

} // namespace hw
