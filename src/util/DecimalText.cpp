#include "util/DecimalText.h"

namespace orv {

std::string WithDecimalPoint(std::string_view text, std::string_view localeSeparator) {
    std::string out(text);
    if (localeSeparator.empty() || localeSeparator == ".") return out;
    for (std::size_t at = out.find(localeSeparator); at != std::string::npos; at = out.find(localeSeparator, at + 1)) {
        out.replace(at, localeSeparator.size(), ".");
    }
    return out;
}

}  // namespace orv
