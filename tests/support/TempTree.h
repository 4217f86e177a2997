#pragma once
// Small lesson trees on disk: the INI text of sections and patterns as the authors write
// them, files written with their folders, and a tree in a temporary folder.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <stdexcept>
#include <vector>

namespace hw::test {

// Writes bytes to path, creating its folders; throws when the file cannot be written.
inline void writeTreeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

struct TopicLines {
    QByteArray title;
    int start;
    int stop;
    int offset;
};

// The [Topics n] sections, CR LF ended, with the title under titleKey.
inline QByteArray topicSections(const std::vector<TopicLines>& topics, const char* titleKey)
{
    QByteArray ini;
    for (size_t i = 0; i < topics.size(); ++i) {
        const TopicLines& t = topics[i];
        ini += "[Topics " + QByteArray::number(qulonglong(i + 1)) + "]\r\n";
        ini += QByteArray(titleKey) + "=" + t.title + "\r\n";
        ini += "StartFrame=" + QByteArray::number(t.start) + "\r\n";
        ini += "StopFrame=" + QByteArray::number(t.stop) + "\r\n";
        ini += "Offset=" + QByteArray::number(t.offset) + "\r\n";
    }
    return ini;
}

// A QuickTour or Techniques file.
inline QByteArray sectionIni(const std::vector<TopicLines>& topics)
{
    return "[Info]\r\nNumTopics=" + QByteArray::number(qulonglong(topics.size())) + "\r\n"
        + topicSections(topics, "Title");
}

// A pattern file; materials are the lines of its [Materials] section.
inline QByteArray patternIni(const QByteArray& displayName, int numSteps,
                             const std::vector<TopicLines>& topics, const QByteArray& materials)
{
    return "[Info]\r\nname=" + displayName + "\r\nnumsteps=" + QByteArray::number(numSteps) + "\r\n"
        + topicSections(topics, "title") + "[Materials]\r\n" + materials;
}

class TempTree {
public:
    TempTree() { dir_.setAutoRemove(true); }
    QDir root() const { return QDir(dir_.path()); }
    QString path(const QString& relative) const { return dir_.path() + QLatin1Char('/') + relative; }

    // Writes bytes to a path relative to the root, creating folders as needed.
    void write(const QString& relative, const QByteArray& bytes) const
    {
        writeTreeFile(path(relative), bytes);
    }
    void mkdir(const QString& relative) const { QDir().mkpath(path(relative)); }

private:
    QTemporaryDir dir_;
};

} // namespace hw::test
