#pragma once
// The cell formats of styles.xml, as far as writing a typed date needs them:
// a spreadsheet gives a General cell that receives a date a date format, so
// the engine finds or adds a cell format that differs only in its number
// format.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include <pugixml.hpp>

namespace orv::workbook {

class CellStyles {
public:
    // Reads a styles part; throws std::runtime_error when it is not one.
    void Load(std::string_view xml);
    bool Loaded() const { return loaded_; }

    // The style to use for a cell of style `style` receiving a value that
    // wants number format numberFormat: the same style when it already has a
    // number format (or is unknown), else a copy of it with that format.
    std::uint32_t WithNumberFormat(std::uint32_t style, int numberFormat);

    bool Modified() const { return modified_; }
    void MarkSaved() { modified_ = false; }
    std::string Serialize() const;

private:
    pugi::xml_document doc_;
    pugi::xml_node cellXfs_;
    std::map<std::pair<std::uint32_t, int>, std::uint32_t> derived_;
    bool loaded_ = false;
    bool modified_ = false;
};

}  // namespace orv::workbook
