#include "WorkbookFiles.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <zip.h>

namespace orv::test {

void WriteZip(const std::string& path, const Parts& parts) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) throw std::runtime_error("cannot create " + path);
    for (const auto& [name, data] : parts) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_discard(archive);
            throw std::runtime_error("cannot add " + name);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path);
    }
}

std::map<std::string, std::string> ReadZip(const std::string& path, std::vector<std::string>* order) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) throw std::runtime_error("cannot open " + path);
    std::map<std::string, std::string> parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string data(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!file || zip_fread(file, data.data(), data.size()) != static_cast<zip_int64_t>(data.size())) {
            zip_discard(archive);
            throw std::runtime_error("cannot read an entry of " + path);
        }
        zip_fclose(file);
        if (order) order->push_back(stat.name);
        parts[stat.name] = std::move(data);
    }
    zip_discard(archive);
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
        {"xl/styles.xml",
         kDecl + "<styleSheet xmlns=\"" + kMain +
             "\"><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font><font><b/><sz val=\"11\"/>"
             "<name val=\"Calibri\"/></font></fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/>"
             "</fill><fill><patternFill patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/>"
             "<right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" "
             "fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs count=\"3\"><xf numFmtId=\"0\" "
             "fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" "
             "borderId=\"0\" xfId=\"0\" applyFont=\"1\"/><xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
             "xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" "
             "xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>"}};
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
