#include "util/DateText.h"

#include <charconv>
#include <initializer_list>

namespace orv {
namespace {

// printf's "%0<width>u" for a 16-bit field.
void AppendPadded(std::string& out, unsigned value, int width) {
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    for (int pad = width - static_cast<int>(res.ptr - buf); pad > 0; --pad) out += '0';
    out.append(buf, res.ptr);
}

struct PaddedField {
    unsigned value;
    int width;
};

// The fields, each padded to its width, with `separator` between them.
std::string Joined(char separator, std::initializer_list<PaddedField> fields) {
    std::string out;
    for (const PaddedField& field : fields) {
        if (!out.empty()) out += separator;
        AppendPadded(out, field.value, field.width);
    }
    return out;
}

}  // namespace

std::string FormatDateText(const HostDateTime& date) {
    return Joined('/', {{date.month, 2}, {date.day, 2}, {date.year, 1}});
}

std::string FormatTimeText(const HostDateTime& date) {
    return Joined(':', {{date.hour, 2}, {date.minute, 2}, {date.second, 2}});
}

}  // namespace orv
