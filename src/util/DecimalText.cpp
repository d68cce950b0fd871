#include "util/DecimalText.h"

namespace orv {

std::string WithDecimalPoint(std::string_view text, std::string_view localeSeparator) {
    if (localeSeparator.empty() || localeSeparator == ".") return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(localeSeparator, from);
        out.append(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return out;
        out.push_back('.');
        from = at + localeSeparator.size();
    }
}

}  // namespace orv
