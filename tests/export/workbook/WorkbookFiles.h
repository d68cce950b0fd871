#pragma once
// Test helpers: small workbooks written part by part, saved workbooks read
// back part by part, and a scratch folder.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <initializer_list>

#include <pugixml.hpp>

#include "export/workbook/Workbook.h"

namespace orv::test {

using Parts = std::vector<std::pair<std::string, std::string>>;

// Zips the parts in the given order, as the engine saves a workbook.
void WriteZip(const std::string& path, const Parts& parts);
// Every entry of a zip archive, by name, as the engine reads a workbook; also
// the order they are stored in.
std::map<std::string, std::string> ReadZip(const std::string& path, std::vector<std::string>* order = nullptr);

// A worksheet part holding the given sheetData content, followed by `after`
// (mergeCells and the like).
std::string SheetXml(const std::string& sheetData, const std::string& after = "");

struct BookSpec {
    std::vector<std::pair<std::string, std::string>> sheets{};  // name, worksheet part
    std::string sharedStrings{};                                // <si> items; empty: no shared-strings part
    bool calcChain = false;
    std::string definedNames{};  // <definedName> elements
    Parts extraParts{};          // stored as they are (theme, pictures, ...)
};

// A complete workbook: content types, relationships, workbook, styles
// (cell formats: 0 General, 1 bold, 2 two decimals) and the given parts.
Parts BuildWorkbook(const BookSpec& layout);

pugi::xml_document ParseXml(const std::string& text);

// Cells of a saved worksheet part as written, e.g. <c r="B2"><f>A1*2</f><v>4</v></c>.
std::vector<std::string> CellXml(const pugi::xml_document& sheet, std::initializer_list<std::string> refs);
// The string values of XPath expressions on a saved part: "//dimension/@ref",
// "count(//mergeCell)".
std::vector<std::string> Query(const pugi::xml_document& doc, std::initializer_list<const char*> expressions);

// Checks cells given as "B8=g": the values of the selected sheet of an open
// workbook, empty for a blank cell.
void ExpectCells(const Workbook& book, std::initializer_list<std::string> cells);

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace orv::test
