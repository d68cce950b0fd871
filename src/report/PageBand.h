#pragma once
// The page header and footer of a printed report, from the per-user page
// setup codes: &w title, &u address, &d date, &t time, &p page, &P pages,
// && one ampersand, and &b splitting the line into left, centre and right
// parts (one &b: left and right). Unknown codes are dropped. Also the
// choice of pages to print. Plain C++.

#include <optional>
#include <string>
#include <vector>

namespace orv::print {

struct BandValues {
    std::string title;
    std::string url;
    std::string date;
    std::string time;
    int page = 1;
    int pages = 1;
};

struct BandText {
    std::string left;
    std::string center;
    std::string right;
};

BandText ExpandBand(const std::string& codes, const BandValues& values);

// Pages `from` to `to`, both counted from 1 and included.
struct PageRange {
    int from = 1;
    int to = 1;
};

// The pages of a document of `count` pages that lie in any of `ranges`, in
// ascending order, each once; every page when `ranges` is empty.
std::vector<int> PagesToPrint(const std::vector<PageRange>& ranges, int count);

// "2-3,5" as ranges; nothing for text that is not a list of pages and
// ascending ranges of pages counted from 1.
std::optional<std::vector<PageRange>> ParsePageRanges(const std::string& text);

}  // namespace orv::print
