#pragma once
// The bodies of the fuzz targets. Each takes one input of arbitrary bytes and checks the
// properties its module promises; it must never crash, hang or leak. A broken property is
// reported through the failure handler, which aborts by default so that libFuzzer keeps
// the input; the regression tests replace it with a test failure.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace hw::fuzz {

// Creates the GUI application on the offscreen platform unless one exists already.
void initialize();

using FailureHandler = std::function<void(const std::string& what)>;
void setFailureHandler(FailureHandler handler);
// Reports a broken property (and aborts unless a handler says otherwise).
void fail(const std::string& what);
inline void check(bool condition, const std::string& what)
{
    if (!condition)
        fail(what);
}

// INI reader: values and key lists against a plain re-reading of the text; materials.
int iniFile(const uint8_t* data, size_t size);
// Integer text against an independent reading of the rule.
int integerText(const uint8_t* data, size_t size);
// Content path resolution and folder listing on a fixed tree of mixed-case names.
int contentPath(const uint8_t* data, size_t size);
// Bitmap decoding: a picture within the limits or one of the two content errors.
int bitmap(const uint8_t* data, size_t size);
// The clip device opening the bytes as a video file and showing and playing frames.
int clipDevice(const uint8_t* data, size_t size);
// Label and memo text layout: word wrap, the lines that fit, painting.
int textLayout(const uint8_t* data, size_t size);
// The library check on a lesson tree written from the input's name and bytes records.
int libraryCheck(const uint8_t* data, size_t size);
// The report's page file loader: pages within the limits or an error message.
int pageFile(const uint8_t* data, size_t size);

// Splits a fuzz input into small numbers and the rest.
class Input {
public:
    Input(const uint8_t* data, size_t size)
        : data_(data)
        , size_(size)
    { }
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t u16() { return uint16_t(byte() | byte() << 8); }
    size_t remaining() const { return size_ - pos_; }
    const uint8_t* rest() const { return data_ + pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace hw::fuzz
