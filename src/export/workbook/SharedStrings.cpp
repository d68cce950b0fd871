#include "export/workbook/SharedStrings.h"

#include <stdexcept>

#include <pugixml.hpp>

#include "export/workbook/XmlDocument.h"
#include "export/workbook/XmlText.h"

namespace orv::workbook {

namespace {

// The text of an <si> or <is>: its <t>, or the <t> of each run (<r>);
// phonetic hints (<rPh>) are not part of the text. Runs hold no runs, so
// nothing deeper is looked at (however deeply a damaged file nests them).
void CollectText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node child : node.children()) {
        const std::string_view name = xml::LocalName(child.name());
        if (name == "t") {
            out += child.text().get();
        } else if (name == "r") {
            for (pugi::xml_node part : child.children()) {
                if (xml::LocalName(part.name()) == "t") out += part.text().get();
            }
        }
    }
}

}  // namespace

std::string InlineStringText(std::string_view isXml) {
    pugi::xml_document doc;
    if (!xml::Load(doc, isXml).empty()) return {};
    std::string text;
    CollectText(doc.document_element(), text);
    return xml::DecodeCellText(text);
}

void SharedStrings::Load(std::string_view text) {
    pugi::xml_document doc;
    if (const std::string problem = xml::Load(doc, text); !problem.empty()) {
        throw std::runtime_error("shared strings: " + problem);
    }
    const pugi::xml_node root = doc.document_element();
    if (xml::LocalName(root.name()) != "sst") throw std::runtime_error("shared-strings part has no sst");
    rootName_ = root.name();
    prefix_ = std::string(xml::Prefix(root.name()));
    rootAttributes_.clear();
    for (pugi::xml_attribute attr : root.attributes()) {
        const std::string_view name = attr.name();
        if (name == "count" || name == "uniqueCount") continue;
        rootAttributes_ += ' ';
        rootAttributes_ += name;
        rootAttributes_ += "=\"";
        xml::AppendEscapedAttribute(rootAttributes_, attr.value());
        rootAttributes_ += '"';
    }
    declaration_.clear();
    for (pugi::xml_node node : doc.children()) {
        if (node.type() == pugi::node_declaration) declaration_ = xml::Print(node);
    }
    items_.clear();
    index_.clear();
    for (pugi::xml_node si : root.children()) {
        if (si.type() != pugi::node_element || xml::LocalName(si.name()) != "si") continue;
        const auto index = static_cast<std::uint32_t>(items_.size());
        // A plain item (one <t>, nothing else) can be shared with new texts; a
        // rich-text item keeps its runs and is not reused for plain text.
        pugi::xml_node only = si.first_child();
        if (only && !only.next_sibling() && xml::LocalName(only.name()) == "t") {
            std::string plain = only.text().get();
            index_.try_emplace(plain, index);
            items_.push_back({std::move(plain), false});
        } else {
            items_.push_back({xml::Print(si), true});
        }
    }
    modified_ = false;
}

std::uint32_t SharedStrings::Add(std::string_view storedText) {
    if (const auto it = index_.find(storedText); it != index_.end()) return it->second;
    const auto index = static_cast<std::uint32_t>(items_.size());
    items_.push_back({std::string(storedText), false});
    index_.emplace(std::string(storedText), index);
    modified_ = true;
    return index;
}

std::string SharedStrings::Text(std::uint32_t index) const {
    if (index >= items_.size()) return {};
    const Item& item = items_[index];
    if (!item.raw) return xml::DecodeCellText(item.text);
    return InlineStringText(item.text);
}

std::string SharedStrings::Serialize() const {
    std::string out;
    std::size_t estimate = 256;
    for (const Item& item : items_) estimate += item.text.size() + 24;
    out.reserve(estimate);
    out += declaration_;
    out += '<';
    out += rootName_;
    out += rootAttributes_;
    out += " uniqueCount=\"";
    out += std::to_string(items_.size());
    out += "\">";
    for (const Item& item : items_) {
        if (item.raw) {
            out += item.text;
            continue;
        }
        out += '<';
        out += prefix_;
        out += "si><";
        out += prefix_;
        out += 't';
        // Leading or trailing blanks and line breaks survive only when preserved.
        const std::string& t = item.text;
        if (!t.empty() && (t.front() == ' ' || t.back() == ' ' || t.front() == '\t' || t.back() == '\t' ||
                           t.find('\n') != std::string::npos)) {
            out += " xml:space=\"preserve\"";
        }
        out += '>';
        xml::AppendEscaped(out, t);
        out += "</";
        out += prefix_;
        out += "t></";
        out += prefix_;
        out += "si>";
    }
    out += "</";
    out += rootName_;
    out += '>';
    return out;
}

}  // namespace orv::workbook
