#include "export/workbook/XmlText.h"

#include <cstdint>

namespace orv::xml {

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// True when text[pos..] is "_xHHHH_".
bool IsEscapeAt(std::string_view text, std::size_t pos) {
    return pos + 7 <= text.size() && text[pos] == '_' && text[pos + 1] == 'x' && IsHex(text[pos + 2]) &&
           IsHex(text[pos + 3]) && IsHex(text[pos + 4]) && IsHex(text[pos + 5]) && text[pos + 6] == '_';
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendHexEscape(std::string& out, std::uint32_t cp) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(cp >> shift) & 0xF];
    out += '_';
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 when the
// bytes there are not a valid (shortest-form, non-surrogate) sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, std::uint32_t* cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b0 = byte(pos);
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    }
    std::size_t len;
    std::uint32_t value;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        value = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        value = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (pos + len > text.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const unsigned char b = byte(pos + i);
        if (b < (i == 1 ? lo : 0x80) || b > (i == 1 ? hi : 0xBF)) return 0;
        value = (value << 6) | (b & 0x3F);
    }
    *cp = value;
    return len;
}

// The reference that stands for `c` in element text, or null where `c`
// stands as it is. An attribute value also escapes the quote that ends it,
// and line breaks and tabs, which a reader would otherwise fold to spaces.
const char* EntityFor(char c, bool inAttribute) {
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return inAttribute ? "&quot;" : nullptr;
    case '\n': return inAttribute ? "&#10;" : nullptr;
    case '\t': return inAttribute ? "&#9;" : nullptr;
    default: return nullptr;
    }
}

void AppendWithEntities(std::string& out, std::string_view text, bool inAttribute) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* entity = EntityFor(text[i], inAttribute);
        if (!entity) continue;
        out.append(text.data() + start, i - start);
        out += entity;
        start = i + 1;
    }
    out.append(text.data() + start, text.size() - start);
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) { AppendWithEntities(out, text, false); }

void AppendEscapedAttribute(std::string& out, std::string_view text) { AppendWithEntities(out, text, true); }

std::string EncodeCellText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::uint32_t cp = 0;
        std::size_t len = DecodeUtf8(bytes, pos, &cp);
        if (len == 0) {
            // Not UTF-8: keep the byte as the Latin-1 character of the same value.
            cp = static_cast<unsigned char>(bytes[pos]);
            len = 1;
        }
        if ((cp < 0x20 && cp != '\t' && cp != '\n') || cp == 0xFFFE || cp == 0xFFFF) {
            AppendHexEscape(out, cp);
        } else if (cp == '_' && IsEscapeAt(bytes, pos)) {
            out += "_x005F_";
        } else if (len == 1 && cp >= 0x80) {
            AppendUtf8(out, cp);
        } else {
            out.append(bytes.data() + pos, len);
        }
        pos += len;
    }
    return out;
}

std::string DecodeCellText(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    std::size_t pos = 0;
    while (pos < stored.size()) {
        if (IsEscapeAt(stored, pos)) {
            std::uint32_t cp = 0;
            for (std::size_t i = 2; i < 6; ++i) cp = cp * 16 + static_cast<std::uint32_t>(HexValue(stored[pos + i]));
            AppendUtf8(out, cp);
            pos += 7;
        } else {
            out += stored[pos++];
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (const char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte
        units += (c >= 0xF0) ? 2 : 1;
    }
    return units;
}

std::string_view LocalName(std::string_view qualified) {
    const auto colon = qualified.find(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string_view Prefix(std::string_view qualified) {
    const auto colon = qualified.find(':');
    return colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon + 1);
}

}  // namespace orv::xml
