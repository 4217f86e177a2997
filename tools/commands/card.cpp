// card NAME OUT.pdf | card --all DIR: writes recipe cards as PDF through the same paint path
// as the preview, for people who want a card without the tutor.
#include "Command.h"

#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"
#include "hw/report/ReportPlatform.h"
#include "hw/report/ReportUnits.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QTextStream>

namespace {

// "Gold Ribbed Hare's Ear Nymph" -> "GoldRibbedHaresEarNymph".
QString fileBaseName(const QByteArray& displayName)
{
    QString name = QString::fromLatin1(displayName);
    name.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
    return name;
}

bool writeCard(hw::RecipeCard& card, const QString& path, QTextStream& err)
{
    if (card.SaveAsPdf(path))
        return true;
    err << "hacklewright-tool card: could not write " << QDir::toNativeSeparators(path) << '\n';
    return false;
}

int runCard(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: hacklewright-tool card NAME OUT.pdf\n"
               "       hacklewright-tool card --all DIR\n";
        return 2;
    }
    // Lines wrap as they do on a screen of the cards' design resolution, so that the file
    // is the same on every machine.
    hw::setScreenPpiOverride(hw::kDesignPpi);
    QObject owner;
    hw::createRecipeCards(&owner);

    if (args.first() == QLatin1String("--all")) {
        const QDir dir(args.at(1));
        if (!dir.exists() && !QDir().mkpath(dir.path())) {
            err << "hacklewright-tool card: cannot create " << QDir::toNativeSeparators(dir.path()) << '\n';
            return 1;
        }
        for (hw::RecipeCard* card : hw::recipeCards()) {
            const QString path = dir.filePath(fileBaseName(card->displayName()) + QStringLiteral(".pdf"));
            if (!writeCard(*card, path, err))
                return 1;
            out << QDir::toNativeSeparators(path) << '\n';
        }
        return 0;
    }

    // The name is the pattern's display name, byte for byte as the tutor compares it.
    hw::RecipeCard* card = hw::findRecipeCard(args.first().toLatin1());
    if (!card || QString::fromLatin1(card->displayName()) != args.first()) {
        err << "hacklewright-tool card: no recipe card for \"" << args.first() << "\"; the cards are:\n";
        for (hw::RecipeCard* known : hw::recipeCards())
            err << "  " << QString::fromLatin1(known->displayName()) << '\n';
        return 2;
    }
    return writeCard(*card, args.at(1), err) ? 0 : 1;
}

const bool registered = hw::tool::registerCommand(
    {"card", "card NAME OUT.pdf | card --all DIR", "write a recipe card (or all six) as PDF", runCard});

} // namespace
