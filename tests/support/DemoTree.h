#pragma once
// One demo library per test binary, shared by its test cases (each of which CTest runs in
// a process of its own): made beside the binary on first use, under a lock, and made again
// when the binary changes.
#include <QString>

namespace hw::test {

// The root of the demo library; fails the calling test when it cannot be made.
QString demoTree();

} // namespace hw::test
