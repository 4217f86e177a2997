#pragma once
// A recipe card: a form that is never shown and owns one report, Report1, laid out once
// when the card is created. Everything on a card is fixed; nothing is read from the
// content files.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace hw {

class TReport;

class RecipeCard : public QObject {
    Q_OBJECT

public:
    ~RecipeCard() override;

    // The pattern displayName that selects this card, byte for byte.
    const QByteArray& displayName() const { return displayName_; }
    TReport* Report1() const { return report_; }

    // Opens the card in a preview window and returns when that window has closed or the
    // program is ending; returns at once while the card is being generated. Other windows
    // keep running meanwhile, so a second preview may open (and must close) inside this call.
    void PreviewRecipe();
    // Writes the card as a one-page PDF through the same paint path as the preview.
    bool SaveAsPdf(const QString& path);

protected:
    RecipeCard(QByteArray displayName, QObject* owner);

private:
    QByteArray displayName_;
    TReport* report_;
};

} // namespace hw
