#include "util/DateText.h"

#include <charconv>

namespace orv {
namespace {

// printf's "%0<width>u" for a 16-bit field.
void AppendPadded(std::string& out, unsigned value, int width) {
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    for (int pad = width - static_cast<int>(res.ptr - buf); pad > 0; --pad) out += '0';
    out.append(buf, res.ptr);
}

}  // namespace

std::string FormatDateText(const HostDateTime& date) {
    std::string out;
    AppendPadded(out, date.month, 2);
    out += '/';
    AppendPadded(out, date.day, 2);
    out += '/';
    AppendPadded(out, date.year, 1);
    return out;
}

std::string FormatTimeText(const HostDateTime& date) {
    std::string out;
    AppendPadded(out, date.hour, 2);
    out += ':';
    AppendPadded(out, date.minute, 2);
    out += ':';
    AppendPadded(out, date.second, 2);
    return out;
}

}  // namespace orv
