#include "hw/content/CatalogueText.h"

#include "hw/AnsiText.h"

namespace hw {
namespace {

QString quoted(const QByteArray& text)
{
    return QLatin1Char('"') + ansiToQString(text) + QLatin1Char('"');
}

QString range(const tTopicRecord& topic, int hand)
{
    const FrameRange r = topicFrames(topic, hand);
    return QStringLiteral("%1..%2").arg(r.start).arg(r.stop);
}

void describeTopics(QString& out, const tTopicRecord* chain, const QString& label, const QString& indent)
{
    int n = 1;
    for (const tTopicRecord* t = chain; t; t = t->next, ++n)
        out += QStringLiteral("%1%2 %3 %4  right %5  left %6\n")
                   .arg(indent, label, QString::number(n), quoted(t->title), range(*t, 0), range(*t, 1));
}

int chainLength(const tTopicRecord* chain)
{
    int n = 0;
    for (; chain; chain = chain->next)
        ++n;
    return n;
}

} // namespace

FrameRange topicFrames(const tTopicRecord& topic, int hand)
{
    return {int64_t{topic.startFrame} + int64_t{hand} * topic.offset,
            int64_t{topic.stopFrame} + int64_t{hand} * (int64_t{topic.offset} - 1)};
}

QString describeCatalogue(const Catalogue& catalogue)
{
    QString out;
    int patterns = 0;
    for (const tFlyRecord* fly = catalogue.flyList(); fly; fly = fly->next)
        ++patterns;
    out += QStringLiteral("Patterns (%1)\n").arg(patterns);
    for (const tFlyRecord* fly = catalogue.flyList(); fly; fly = fly->next) {
        const QString picture = fly->picture.isNull()
            ? QStringLiteral("empty")
            : QStringLiteral("%1x%2").arg(fly->picture.width()).arg(fly->picture.height());
        out += QStringLiteral("  Pattern %1  base %2  picture %3  numsteps %4\n")
                   .arg(quoted(fly->displayName), fly->listedBaseName, picture,
                        QString::number(fly->numSteps));
        describeTopics(out, fly->topics, QStringLiteral("Step"), QStringLiteral("    "));
        for (const QByteArray& line : fly->materials)
            out += QStringLiteral("    Material %1\n").arg(quoted(line));
    }
    out += QStringLiteral("Quick Tour (%1)\n").arg(chainLength(catalogue.quickTourList()));
    describeTopics(out, catalogue.quickTourList(), QStringLiteral("Topic"), QStringLiteral("  "));
    out += QStringLiteral("Techniques (%1)\n").arg(chainLength(catalogue.techniquesList()));
    describeTopics(out, catalogue.techniquesList(), QStringLiteral("Topic"), QStringLiteral("  "));
    return out;
}

QString describeErrors(const std::vector<CatalogueError>& errors)
{
    QString out;
    for (const CatalogueError& e : errors)
        out += e.file + QStringLiteral(": ") + e.message + QLatin1Char('\n');
    return out;
}

} // namespace hw
