#pragma once
// Trees made once and shared by the test cases of a binary (each of which CTest runs in a
// process of its own): made beside the binary on first use, under a lock, and made again
// when what they are made from changes.
#include <QByteArray>
#include <QString>

#include <functional>

namespace hw::test {

// The identity of a file (path, size, time of change): a tree made from it is made anew
// when it changes.
QByteArray fileStamp(const QString& path);

// The root of the tree called name in folder (by default beside the test binary), made by
// build(root) unless it was made before from what stamp names (by default the test binary
// itself). build throws std::runtime_error when it fails; the calling test then fails.
QString builtOnce(const QString& name, const std::function<void(const QString& root)>& build,
                  const QByteArray& stamp = {}, const QString& folder = {});

// The root of the demo lesson library: one for every test binary of the build, made anew
// when the code that makes it changes.
QString demoTree();

} // namespace hw::test
