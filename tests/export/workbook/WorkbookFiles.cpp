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
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
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

std::string SheetXml(const std::string& sheetData, const std::string& after) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
           "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>" +
           sheetData + "</sheetData>" + after + "</worksheet>";
}

Parts BuildWorkbook(const BookSpec& layout) {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    std::string types =
        decl +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"png\" ContentType=\"image/png\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    std::string workbook = decl +
                           "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                           "<workbookPr/><sheets>";
    std::string rels = decl + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    Parts parts;
    Parts sheetParts;
    for (std::size_t i = 0; i < layout.sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        workbook += "<sheet name=\"" + layout.sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                "Target=\"worksheets/sheet" +
                n + ".xml\"/>";
        types += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        sheetParts.emplace_back("xl/worksheets/sheet" + n + ".xml", layout.sheets[i].second);
    }
    workbook += "</sheets>";
    if (!layout.definedNames.empty()) workbook += "<definedNames>" + layout.definedNames + "</definedNames>";
    workbook += "<calcPr calcId=\"191029\"/></workbook>";
    rels +=
        "<Relationship Id=\"rIdStyles\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>";
    if (!layout.sharedStrings.empty()) {
        rels +=
            "<Relationship Id=\"rIdStrings\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
            "Target=\"sharedStrings.xml\"/>";
        types +=
            "<Override PartName=\"/xl/sharedStrings.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
    }
    if (layout.calcChain) {
        rels +=
            "<Relationship Id=\"rIdChain\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain\" "
            "Target=\"calcChain.xml\"/>";
        types +=
            "<Override PartName=\"/xl/calcChain.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>";
    }
    rels += "</Relationships>";
    types += "</Types>";

    parts.emplace_back("[Content_Types].xml", types);
    parts.emplace_back("_rels/.rels",
                       decl +
                           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                           "<Relationship Id=\"rId1\" "
                           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                           "officeDocument\" Target=\"xl/workbook.xml\"/>"
                           "</Relationships>");
    parts.emplace_back("xl/workbook.xml", workbook);
    parts.emplace_back("xl/_rels/workbook.xml.rels", rels);
    parts.emplace_back(
        "xl/styles.xml",
        decl +
            "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
            "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
            "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
            "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
            "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
            "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
            "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
            "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
            "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
            "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
            "</styleSheet>");
    for (auto& part : sheetParts) parts.push_back(std::move(part));
    if (!layout.sharedStrings.empty()) {
        parts.emplace_back("xl/sharedStrings.xml",
                           decl +
                               "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"99\" "
                               "uniqueCount=\"99\">" +
                               layout.sharedStrings + "</sst>");
    }
    if (layout.calcChain) {
        parts.emplace_back("xl/calcChain.xml",
                           decl +
                               "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                               "<c r=\"A1\" i=\"1\"/></calcChain>");
    }
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
