#include "WorkbookFiles.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "export/workbook/CellAddress.h"
#include "export/workbook/ZipPackage.h"

namespace orv::test {

void WriteZip(const std::string& path, const Parts& parts) {
    std::vector<workbook::PackagePart> stored;
    for (const auto& [name, data] : parts) stored.push_back({name, data});
    std::vector<const workbook::PackagePart*> order;
    for (const auto& part : stored) order.push_back(&part);
    workbook::WritePackage(path, order, 1);
}

std::map<std::string, std::string> ReadZip(const std::string& path, std::vector<std::string>* order) {
    std::map<std::string, std::string> parts;
    for (auto& part : workbook::ReadPackage(path)) {
        if (order) order->push_back(part.name);
        parts[part.name] = std::move(part.data);
    }
    return parts;
}

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string kRelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string kPackageRels = "http://schemas.openxmlformats.org/package/2006/relationships";
const std::string kTypePrefix = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

// A relationship of the workbook and the content type of its part.
void AddPart(std::string& rels, std::string& types, const std::string& id, const std::string& kind,
             const std::string& target, const std::string& type) {
    rels += "<Relationship Id=\"" + id + "\" Type=\"" + kRelTypes + "/" + kind + "\" Target=\"" + target + "\"/>";
    types += "<Override PartName=\"/xl/" + target + "\" ContentType=\"" + kTypePrefix + type + "+xml\"/>";
}

}  // namespace

std::string SheetXml(const std::string& sheetData, const std::string& after) {
    return kDecl + "<worksheet xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelTypes +
           "\"><dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
           "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>" +
           sheetData + "</sheetData>" + after + "</worksheet>";
}

Parts BuildWorkbook(const BookSpec& layout) {
    std::string types = kDecl +
                        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
                        "Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    std::string workbook =
        kDecl + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelTypes + "\"><workbookPr/><sheets>";
    std::string rels = kDecl + "<Relationships xmlns=\"" + kPackageRels + "\">";
    AddPart(rels, types, "rIdStyles", "styles", "styles.xml", "styles");
    Parts sheetParts;
    for (std::size_t i = 0; i < layout.sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        workbook += "<sheet name=\"" + layout.sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        AddPart(rels, types, "rId" + n, "worksheet", "worksheets/sheet" + n + ".xml", "worksheet");
        sheetParts.emplace_back("xl/worksheets/sheet" + n + ".xml", layout.sheets[i].second);
    }
    workbook += "</sheets>";
    if (!layout.definedNames.empty()) workbook += "<definedNames>" + layout.definedNames + "</definedNames>";
    workbook += "<calcPr calcId=\"191029\"/></workbook>";
    if (!layout.sharedStrings.empty())
        AddPart(rels, types, "rIdStrings", "sharedStrings", "sharedStrings.xml", "sharedStrings");
    if (layout.calcChain) AddPart(rels, types, "rIdChain", "calcChain", "calcChain.xml", "calcChain");

    // Cell formats: 0 General, 1 bold, 2 two decimals.
    Parts parts = {
        {"[Content_Types].xml",
         types + "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + kTypePrefix + "sheet.main+xml\"/></Types>"},
        {"_rels/.rels", kDecl + "<Relationships xmlns=\"" + kPackageRels + "\"><Relationship Id=\"rId1\" Type=\"" +
                            kRelTypes + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", workbook},
        {"xl/_rels/workbook.xml.rels", rels + "</Relationships>"},
        {"xl/styles.xml", kDecl + "<styleSheet xmlns=\"" + kMain +
                              "\"><fonts count=\"2\"><font/><font><b/></font></fonts><cellXfs count=\"3\"><xf "
                              "numFmtId=\"0\" fontId=\"0\"/><xf numFmtId=\"0\" fontId=\"1\" applyFont=\"1\"/><xf "
                              "numFmtId=\"2\" fontId=\"0\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>"}};
    for (auto& part : sheetParts) parts.push_back(std::move(part));
    if (!layout.sharedStrings.empty()) {
        parts.emplace_back(
            "xl/sharedStrings.xml",
            kDecl + "<sst xmlns=\"" + kMain + "\" count=\"99\" uniqueCount=\"99\">" + layout.sharedStrings + "</sst>");
    }
    if (layout.calcChain)
        parts.emplace_back("xl/calcChain.xml",
                           kDecl + "<calcChain xmlns=\"" + kMain + "\"><c r=\"A1\" i=\"1\"/></calcChain>");
    for (const auto& part : layout.extraParts) parts.push_back(part);
    return parts;
}

pugi::xml_document ParseXml(const std::string& text) {
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size())) throw std::runtime_error("not XML: " + text.substr(0, 200));
    return doc;
}

std::vector<std::string> CellXml(const pugi::xml_document& sheet, std::initializer_list<std::string> refs) {
    std::vector<std::string> cells;
    for (const std::string& ref : refs) {
        std::ostringstream out;
        sheet.select_node(("//c[@r='" + ref + "']").c_str()).node().print(out, "", pugi::format_raw);
        cells.push_back(out.str());
    }
    return cells;
}

std::vector<std::string> Query(const pugi::xml_document& doc, std::initializer_list<const char*> expressions) {
    std::vector<std::string> values;
    for (const char* expression : expressions) values.push_back(pugi::xpath_query(expression).evaluate_string(doc));
    return values;
}

void ExpectCells(const Workbook& book, std::initializer_list<std::string> cells) {
    for (const std::string& c : cells) {
        const auto eq = c.find('=');
        const auto at = ParseCellAddress(c.substr(0, eq));
        ASSERT_TRUE(at) << c;
        const CellContent cell = book.GetCell(at->row, at->column);
        EXPECT_EQ(cell.kind == CellKind::Blank ? "" : cell.value, c.substr(eq + 1)) << c;
    }
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-workbook-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace orv::test
