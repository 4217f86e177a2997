#include "IniText.h"
#include "hw/Narrow.h"

namespace hw::demo {
namespace {

class IniBuilder {
public:
    explicit IniBuilder(KeyCase keys)
        : upper_(keys == KeyCase::Upper)
    { }
    void section(const QByteArray& name)
    {
        if (!text_.isEmpty())
            text_ += "\r\n";
        text_ += '[' + spell(name) + "]\r\n";
    }
    void value(const QByteArray& key, const QByteArray& value) { text_ += spell(key) + '=' + value + "\r\n"; }
    void value(const QByteArray& key, int number) { value(key, QByteArray::number(number)); }
    QByteArray text() const { return text_; }

private:
    QByteArray spell(const QByteArray& name) const { return upper_ ? name.toUpper() : name; }
    bool upper_;
    QByteArray text_;
};

} // namespace

QByteArray patternIni(const PatternSpec& design, const PlannedLesson& lesson)
{
    IniBuilder ini(design.keys);
    ini.section("Info");
    ini.value("name", lesson.displayName);
    ini.value("numsteps", intSize(lesson.topics));
    for (int i = 0; i < lesson.topics.size(); ++i) {
        const PlannedTopic& t = lesson.topics[i];
        ini.section("Topics " + QByteArray::number(i + 1));
        // One title is quoted, as some authoring tools save them; the reader drops the quotes.
        const bool quoted = design.kind == FlyKind::Humpy && i + 1 == lesson.topics.size();
        ini.value("title", quoted ? '"' + t.title + '"' : t.title);
        ini.value("StartFrame", t.startFrame);
        ini.value("StopFrame", t.stopFrame);
        ini.value("Offset", t.offset);
    }
    ini.section("Materials");
    for (const MaterialSpec& m : design.materials)
        ini.value(m.key, m.value);
    return ini.text();
}

QByteArray sectionIni(const PlannedLesson& lesson)
{
    IniBuilder ini(KeyCase::AsDocumented);
    ini.section("Info");
    ini.value("NumTopics", intSize(lesson.topics));
    for (int i = 0; i < lesson.topics.size(); ++i) {
        const PlannedTopic& t = lesson.topics[i];
        ini.section("Topics " + QByteArray::number(i + 1));
        ini.value("Title", t.title);
        ini.value("StartFrame", t.startFrame);
        ini.value("StopFrame", t.stopFrame);
        ini.value("Offset", t.offset);
    }
    return ini.text();
}

} // namespace hw::demo
