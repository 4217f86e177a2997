#pragma once
// Every key of the tutor window with what it does, in the order the key sheet lists them.
#include <QString>

#include <vector>

namespace hw {

struct KeyHelp {
    QString keys;   // as the user reads them, e.g. "Page Up, Page Down"
    QString action; // what they do
};

const std::vector<KeyHelp>& windowKeys();

} // namespace hw
