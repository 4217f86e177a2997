#pragma once
// The lesson catalogue: the fly list and the Quick Tour and Techniques topic chains, read
// once at start-up from the content tree and never changed afterwards.
//
// Text fields hold the content's bytes as read (single-byte, shown as Windows-1252 via
// hw::ansiToQString); lookups compare these bytes exactly.
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace hw {

struct tTopicRecord {
    QByteArray title;
    int32_t startFrame = 0;
    int32_t stopFrame = 0;
    int32_t offset = 0;
    tTopicRecord* next = nullptr;
};

struct tFlyRecord {
    QByteArray baseName;    // single-byte, as the rest of the content
    QString listedBaseName; // as the file system spells it: the pattern's files are found by it
    QImage picture;         // null for an empty bitmap file
    QByteArray displayName;
    int32_t numSteps = 0;
    QList<QByteArray> materials;
    tTopicRecord* topics = nullptr;
    tFlyRecord* next = nullptr;
    tFlyRecord* previous = nullptr;
};

// One error met while loading, with the message the user is shown.
struct CatalogueError {
    QString message; // e.g. "'12abc' is not a valid integer value"
    QString file;    // the content path of the file being read, e.g. "Flies\Adams.ini"
};

// Owns every record; the chains link them. Records live as long as the catalogue.
class Catalogue {
public:
    Catalogue();
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    tFlyRecord* flyList() const { return flyList_; }
    tTopicRecord* quickTourList() const { return quickTourList_; }
    tTopicRecord* techniquesList() const { return techniquesList_; }

    // First record in chain order whose displayName equals name byte for byte, or null.
    tFlyRecord* findFly(const QByteArray& displayName) const;
    // First topic of chain whose title equals title byte for byte, or null.
    static tTopicRecord* findTopic(tTopicRecord* chain, const QByteArray& title);

private:
    friend class CatalogueLoader;
    tFlyRecord* flyList_ = nullptr;
    tTopicRecord* quickTourList_ = nullptr;
    tTopicRecord* techniquesList_ = nullptr;
    std::vector<std::unique_ptr<tFlyRecord>> flies_;
    std::vector<std::unique_ptr<tTopicRecord>> topics_;
};

// Receives each pattern's displayName as it is read (the tutor's gallery list).
using DisplayNameSink = std::function<void(const QByteArray& displayName)>;

// Reads the content tree under root into catalogue (which must be empty). A pattern file
// that fails is reported and skipped whole (its name does not reach the sink); a failing
// section file keeps the topics read before the failure. All other content is loaded.
// Returns the errors in the order they were met; an absent file or folder is no error.
std::vector<CatalogueError> initResources(Catalogue& catalogue, const DisplayNameSink& sink,
                                          const QDir& root = QDir::current());

} // namespace hw
