#pragma once
// The broken-content corpus, written once per build of the tool by running
// the tests' `make-broken` program (MakeBroken.cpp), and what its sound library holds.
#include <QDir>
#include <QString>

#include <vector>

namespace hw::test {

// The corpus folder (one content tree per case); fails the test when the tool fails.
QDir brokenCorpus();
QDir brokenCase(const QString& name);

// The sound library every case starts from (mirrors make-broken).
struct TopicSpec {
    const char* title;
    int start;
    int stop;
    int offset;
};
struct LessonSpec {
    int id;     // the lesson in its frames' stamps
    int frames; // length of its video
    std::vector<TopicSpec> topics;
};
extern const LessonSpec kQuickTourLesson;
extern const LessonSpec kTechniquesLesson;
extern const LessonSpec kAdamsLesson;
extern const LessonSpec kWulffLesson;

} // namespace hw::test
