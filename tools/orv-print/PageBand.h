#pragma once
// The page header and footer of a printed report, from the per-user page
// setup codes: &w title, &u address, &d date, &t time, &p page, &P pages,
// && one ampersand, and &b splitting the line into left, centre and right
// parts (one &b: left and right). Unknown codes are dropped. Plain C++.

#include <string>

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

}  // namespace orv::print
