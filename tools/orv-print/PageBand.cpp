#include "PageBand.h"

#include <vector>

namespace orv::print {

BandText ExpandBand(const std::string& codes, const BandValues& values) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != '&' || i + 1 == codes.size()) {
            parts.back() += codes[i];
            continue;
        }
        switch (codes[++i]) {
        case 'w': parts.back() += values.title; break;
        case 'u': parts.back() += values.url; break;
        case 'd': parts.back() += values.date; break;
        case 't': parts.back() += values.time; break;
        case 'p': parts.back() += std::to_string(values.page); break;
        case 'P': parts.back() += std::to_string(values.pages); break;
        case '&': parts.back() += '&'; break;
        case 'b': parts.emplace_back(); break;
        default: break;
        }
    }
    BandText band;
    band.left = parts[0];
    if (parts.size() == 2) band.right = parts[1];
    if (parts.size() >= 3) {
        band.center = parts[1];
        // Further &b codes only add to the right-hand part.
        for (std::size_t i = 2; i < parts.size(); ++i) band.right += parts[i];
    }
    return band;
}

}  // namespace orv::print
