#include "export/workbook/XmlDocument.h"

namespace orv::xml {

bool NestingWithin(std::string_view text, int maxDepth) {
    int depth = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto skipPast = [&](std::string_view end) {
        const std::size_t at = text.find(end, i);
        i = at == std::string_view::npos ? n : at + end.size();
    };
    while (i < n) {
        const std::size_t open = text.find('<', i);
        if (open == std::string_view::npos) break;
        i = open + 1;
        if (i >= n) break;
        const char c = text[i];
        if (c == '/') {
            --depth;
            skipPast(">");
        } else if (c == '?') {
            skipPast("?>");
        } else if (c == '!') {
            if (text.substr(i, 3) == "!--") {
                skipPast("-->");
            } else if (text.substr(i, 8) == "![CDATA[") {
                skipPast("]]>");
            } else {
                skipPast(">");
            }
        } else {
            // A start tag: find its end, stepping over quoted attribute values.
            char quote = 0;
            while (i < n && (quote || text[i] != '>')) {
                if (quote) {
                    if (text[i] == quote) quote = 0;
                } else if (text[i] == '"' || text[i] == '\'') {
                    quote = text[i];
                }
                ++i;
            }
            const bool empty = i < n && text[i - 1] == '/';
            ++i;
            if (!empty && ++depth > maxDepth) return false;
        }
    }
    return true;
}

std::string Load(pugi::xml_document& doc, std::string_view text) {
    if (!NestingWithin(text, kMaxNesting)) return "elements are nested too deeply";
    const auto result = doc.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    if (!result) return std::string("not well-formed XML: ") + result.description();
    return {};
}

}  // namespace orv::xml
