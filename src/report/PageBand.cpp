#include "report/PageBand.h"

#include <charconv>
#include <string_view>
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

std::vector<int> PagesToPrint(const std::vector<PageRange>& ranges, int count) {
    std::vector<int> pages;
    for (int page = 1; page <= count; ++page) {
        bool wanted = ranges.empty();
        for (const PageRange& range : ranges) wanted = wanted || (page >= range.from && page <= range.to);
        if (wanted) pages.push_back(page);
    }
    return pages;
}

namespace {

std::optional<int> PageNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::vector<PageRange>> ParsePageRanges(const std::string& text) {
    std::vector<PageRange> ranges;
    std::string_view rest = text;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        const std::size_t dash = part.find('-');
        const auto from = PageNumber(part.substr(0, dash));
        const auto to = dash == std::string_view::npos ? from : PageNumber(part.substr(dash + 1));
        if (!from || !to || *to < *from) return std::nullopt;
        ranges.push_back({*from, *to});
        if (comma == std::string_view::npos) return ranges;
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace orv::print
