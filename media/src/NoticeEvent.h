#pragma once
// The completion notice a device posts to its player: handled on the GUI thread when the
// player's queue is next processed, never inside the call that caused it.
#include "DeviceState.h"

#include <QCoreApplication>
#include <QEvent>

namespace hw::media {

class NoticeEvent : public QEvent {
public:
    explicit NoticeEvent(Notice v)
        : QEvent(type())
        , value(v)
    { }
    static QEvent::Type type()
    {
        static const auto t = QEvent::Type(QEvent::registerEventType());
        return t;
    }
    static void post(QObject* target, Notice v) { QCoreApplication::postEvent(target, new NoticeEvent(v)); }

    Notice value;
};

} // namespace hw::media
