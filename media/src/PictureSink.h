#pragma once
// The hand-over point between the device's worker and the display surface: the last
// presented picture, its frame number and the panel size the worker scales to. The worker
// writes, the GUI thread reads; the surface is told of a new picture by a posted event,
// never by a direct call across threads.
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QSize>

#include <functional>
#include <mutex>

namespace hw::media {

class PictureSink {
public:
    static QEvent::Type updateEventType();

    // Worker: a new picture (already scaled to the panel) is on screen now.
    void present(QImage picture, int frame);
    // Called by present() with each picture as it goes on show, on the worker and under the
    // sink's lock: it must be quick and must not call the sink (benchmarks stamp it).
    using PresentHook = std::function<void(const QImage& picture, int frame)>;
    void setPresentHook(PresentHook hook);
    // GUI: the picture the surface shows, and its frame number (-1 if none).
    QImage picture() const;
    int frame() const;
    void clear();

    // The surface's size in device pixels; empty without a surface.
    QSize panel() const;
    void setPanel(const QSize& devicePixels);

    // The surface that wants update events (one at a time); detach() waits for a present
    // in progress, so that no event is posted to a destroyed surface.
    void attach(QObject* surface);
    void detach(QObject* surface);
    // The surface took the last update event.
    void updateTaken();

private:
    mutable std::mutex pictureMutex_; // guards all of the below
    QImage picture_;
    int frame_ = -1;
    QSize panel_;
    QObject* surface_ = nullptr;
    bool updatePosted_ = false;
    PresentHook hook_;
};

} // namespace hw::media
