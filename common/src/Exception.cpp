#include "hw/Exception.h"

namespace hw {

Exception::Exception(QString message)
    : message_(std::move(message))
    , utf8_(message_.toStdString())
{ }

} // namespace hw
