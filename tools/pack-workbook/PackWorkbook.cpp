// Build-time tool: zips an unzipped workbook folder into an .xlsx file.
//
//   orv_pack_workbook FOLDER OUTPUT.xlsx
//
// [Content_Types].xml is stored first and _rels/.rels second, the other parts
// in name order, all with one fixed time stamp, so the same folder always
// gives the same file. Every .xml and .rels part must be well-formed XML; a
// mistake made while editing a template stops the build here instead of
// producing a workbook that no program opens.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <zip.h>
#include <pugixml.hpp>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;  // "xl/workbook.xml"
    std::string data;
};

int Rank(const std::string& name) {
    if (name == "[Content_Types].xml") return 0;
    if (name == "_rels/.rels") return 1;
    return 2;
}

bool IsXml(const std::string& name) {
    const auto dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    return ext == ".xml" || ext == ".rels";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER OUTPUT.xlsx\n", argv[0]);
        return 2;
    }
    const fs::path folder = argv[1];
    const std::string output = argv[2];

    std::vector<Entry> entries;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_regular_file()) continue;
        Entry entry;
        entry.name = fs::relative(it->path(), folder).generic_string();
        std::ifstream in(it->path(), std::ios::binary);
        entry.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot read\n", it->path().c_str());
            return 1;
        }
        if (IsXml(entry.name)) {
            pugi::xml_document doc;
            const auto result = doc.load_buffer(entry.data.data(), entry.data.size());
            if (!result) {
                std::fprintf(stderr, "%s: offset %td: %s\n", it->path().c_str(), result.offset, result.description());
                return 1;
            }
        }
        entries.push_back(std::move(entry));
    }
    if (ec) {
        std::fprintf(stderr, "%s: %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }
    if (std::none_of(entries.begin(), entries.end(), [](const Entry& e) { return Rank(e.name) == 0; })) {
        std::fprintf(stderr, "%s: no [Content_Types].xml\n", folder.c_str());
        return 1;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return Rank(a.name) != Rank(b.name) ? Rank(a.name) < Rank(b.name) : a.name < b.name;
    });

    int code = 0;
    zip_t* archive = zip_open(output.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        std::fprintf(stderr, "%s: cannot create (libzip error %d)\n", output.c_str(), code);
        return 1;
    }
    const time_t stamp = 1199145600;  // 2008-01-01, the same for every build
    for (const Entry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
        const zip_int64_t index = source ? zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9) != 0 ||
            zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), stamp, 0) != 0) {
            if (source && index < 0) zip_source_free(source);
            std::fprintf(stderr, "%s: %s\n", output.c_str(), zip_strerror(archive));
            zip_discard(archive);
            return 1;
        }
    }
    if (zip_close(archive) != 0) {
        std::fprintf(stderr, "%s: %s\n", output.c_str(), zip_strerror(archive));
        zip_discard(archive);
        return 1;
    }
    return 0;
}
