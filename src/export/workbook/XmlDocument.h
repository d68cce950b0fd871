#pragma once
// Reading and writing pugixml trees: every part goes through Load, which
// refuses text nested too deeply before the parser (and the library's
// recursive node removal) sees it.

#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace orv::xml {

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override { out_.append(static_cast<const char*>(data), size); }

private:
    std::string& out_;
};

// The document as one line of XML, its declaration (if it has one) first.
inline std::string Print(const pugi::xml_document& doc) {
    std::string out;
    StringWriter writer(out);
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out;
}

inline std::string Print(const pugi::xml_node& node) {
    std::string out;
    StringWriter writer(out);
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return out;
}

// Options used for every part the engine reads: keep the declaration,
// comments and processing instructions, and whitespace-only text that is an
// element's only content (a cell text of one space).
inline constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                                          pugi::parse_pi | pugi::parse_ws_pcdata_single;

// Deeper than any spreadsheet part; a deeper text is damaged or hostile.
inline constexpr int kMaxNesting = 1000;

// True when no element of the text is nested deeper than maxDepth.
bool NestingWithin(std::string_view text, int maxDepth);

// Parses text into doc with kParseOptions. Returns an empty string on
// success, otherwise what is wrong with the text.
std::string Load(pugi::xml_document& doc, std::string_view text);

}  // namespace orv::xml
