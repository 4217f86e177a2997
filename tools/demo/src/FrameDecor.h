#pragma once
// What every demo video frame carries besides its scene: a title bar, the frame number in
// letters, and the machine-readable frame stamp along the bottom edge.
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>

namespace hw::demo {

inline constexpr int kTitleBarHeight = 24;

QFont demoFont(int pixelSize, bool bold = false, bool italic = false);
// Dark band across the top with heading on the left and note (the hand) on the right.
void paintTitleBar(QPainter& p, int width, const QString& heading, const QString& note);
// A plain ledge along the bottom edge, under the frame stamp.
void paintBottomLedge(QPainter& p, const QSize& size);
// A thin bar under the title bar, filled to fraction.
void paintProgress(QPainter& p, int width, double fraction);
// "Frame N" in the bottom right corner, just above the stamp.
void paintFrameNumber(QPainter& p, const QSize& size, int32_t frame, const QColor& colour);
// Stamps the frame number into the picture; call last.
void stampFrame(QImage& image, int32_t frame);
// The top of the stamp band: scenes keep what must stay legible above it.
int stampTop(const QSize& size);

} // namespace hw::demo
