#include "hw/content/Catalogue.h"

namespace hw {

Catalogue::Catalogue() = default;
Catalogue::~Catalogue() = default;

tFlyRecord* Catalogue::findFly(const QByteArray& displayName) const
{
    for (tFlyRecord* fly = flyList_; fly; fly = fly->next)
        if (fly->displayName == displayName)
            return fly;
    return nullptr;
}

tTopicRecord* Catalogue::findTopic(tTopicRecord* chain, const QByteArray& title)
{
    for (tTopicRecord* topic = chain; topic; topic = topic->next)
        if (topic->title == title)
            return topic;
    return nullptr;
}

} // namespace hw
