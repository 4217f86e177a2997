#include "hw/recipes/RecipeCard.h"

#include "hw/report/TReport.h"

#include <utility>

namespace hw {

RecipeCard::RecipeCard(QByteArray displayName, QObject* owner)
    : QObject(owner)
    , displayName_(std::move(displayName))
    , report_(new TReport(this))
{
    report_->setObjectName(QStringLiteral("Report1"));
}

RecipeCard::~RecipeCard() = default;

void RecipeCard::PreviewRecipe()
{
    // The report's preview is the card's: a fresh page-image output with this report's
    // print, printer-setup and export actions, a preview window owned by the application,
    // one round of pending events, the page generated, then a wait that processes events
    // until this window closes or the program ends, and the output discarded.
    report_->Preview();
}

bool RecipeCard::SaveAsPdf(const QString& path)
{
    return report_->ExportPdf(path);
}

} // namespace hw
