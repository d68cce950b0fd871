#include "ui/values/CellText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace orv {
namespace {

// Two digits, with a leading "0" below 10; larger numbers in full.
char* TwoDigits(char* out, unsigned value) {
    if (value < 100) {
        *out++ = static_cast<char>('0' + value / 10);
        *out++ = static_cast<char>('0' + value % 10);
        return out;
    }
    return std::to_chars(out, out + 8, value).ptr;
}

std::size_t Copy(const char* text, char* out) {
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return length;
}

}  // namespace

std::size_t WriteDateText(const HostDateTime& date, char* out) {
    char* end = TwoDigits(out, date.month);
    *end++ = '/';
    end = TwoDigits(end, date.day);
    *end++ = '/';
    end = std::to_chars(end, end + 8, static_cast<unsigned>(date.year)).ptr;
    return static_cast<std::size_t>(end - out);
}

std::size_t WriteTimeText(const HostDateTime& date, char* out) {
    char* end = TwoDigits(out, date.hour);
    *end++ = ':';
    end = TwoDigits(end, date.minute);
    *end++ = ':';
    end = TwoDigits(end, date.second);
    return static_cast<std::size_t>(end - out);
}

std::size_t WriteAmountText(double value, char* out) {
    if (std::isnan(value)) return Copy(std::signbit(value) ? "-nan" : "nan", out);
    if (std::isinf(value)) return Copy(value < 0 ? "-inf" : "inf", out);
    const auto result = std::to_chars(out, out + kCellTextCapacity, value, std::chars_format::fixed, 5);
    return result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - out) : 0;
}

}  // namespace orv
