#include "hw/recipes/TRecipeCard.h"

#include "hw/report/TReport.h"

#include <utility>

namespace hw {

TRecipeCard::TRecipeCard(QByteArray displayName, QObject* owner)
    : QObject(owner), displayName_(std::move(displayName)), report_(new TReport(this))
{
    report_->setObjectName(QStringLiteral("Report1"));
}

TRecipeCard::~TRecipeCard() = default;

void TRecipeCard::PreviewRecipe()
{
    // The report's preview is the card's: a fresh page-image output with this report's
    // print, printer-setup and export actions, a preview window owned by the application,
    // one round of pending events, the page generated, then a wait that processes events
    // until this window closes or the program ends, and the output discarded.
    report_->Preview();
}

bool TRecipeCard::SaveAsPdf(const QString& path)
{
    return report_->ExportPdf(path);
}

} // namespace hw
