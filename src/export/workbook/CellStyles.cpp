#include "export/workbook/CellStyles.h"

#include <stdexcept>
#include <vector>

#include "export/workbook/XmlDocument.h"
#include "export/workbook/XmlText.h"

namespace orv::workbook {

namespace {

std::vector<pugi::xml_node> Formats(pugi::xml_node cellXfs) {
    std::vector<pugi::xml_node> xfs;
    for (pugi::xml_node xf : cellXfs.children()) {
        if (xf.type() == pugi::node_element && xml::LocalName(xf.name()) == "xf") xfs.push_back(xf);
    }
    return xfs;
}

// Same attributes and children, except numFmtId and applyNumberFormat.
bool SameApartFromNumberFormat(pugi::xml_node a, pugi::xml_node b) {
    const auto attributes = [](pugi::xml_node node) {
        std::map<std::string, std::string> map;
        for (pugi::xml_attribute attr : node.attributes()) {
            const std::string_view name = attr.name();
            if (name != "numFmtId" && name != "applyNumberFormat") map[attr.name()] = attr.value();
        }
        return map;
    };
    if (attributes(a) != attributes(b)) return false;
    std::string childrenA, childrenB;
    for (pugi::xml_node child : a.children()) childrenA += xml::Print(child);
    for (pugi::xml_node child : b.children()) childrenB += xml::Print(child);
    return childrenA == childrenB;
}

}  // namespace

void CellStyles::Load(std::string_view xml) {
    if (const std::string problem = xml::Load(doc_, xml); !problem.empty()) {
        throw std::runtime_error("styles: " + problem);
    }
    const pugi::xml_node root = doc_.document_element();
    if (xml::LocalName(root.name()) != "styleSheet") throw std::runtime_error("styles part has no styleSheet");
    for (pugi::xml_node child : root.children()) {
        if (xml::LocalName(child.name()) == "cellXfs") cellXfs_ = child;
    }
    loaded_ = true;
}

std::uint32_t CellStyles::WithNumberFormat(std::uint32_t style, int numberFormat) {
    if (!loaded_ || !cellXfs_ || numberFormat <= 0) return style;
    const auto key = std::make_pair(style, numberFormat);
    if (const auto it = derived_.find(key); it != derived_.end()) return it->second;
    const std::vector<pugi::xml_node> xfs = Formats(cellXfs_);
    if (style >= xfs.size()) return style;
    const pugi::xml_node base = xfs[style];
    if (base.attribute("numFmtId").as_int() != 0) return style;  // not General: left as it is
    std::uint32_t found = static_cast<std::uint32_t>(xfs.size());
    for (std::uint32_t i = 0; i < xfs.size(); ++i) {
        if (xfs[i].attribute("numFmtId").as_int() == numberFormat && SameApartFromNumberFormat(xfs[i], base)) {
            found = i;
            break;
        }
    }
    if (found == xfs.size()) {
        pugi::xml_node copy = cellXfs_.insert_copy_after(base, xfs.back());
        pugi::xml_attribute id = copy.attribute("numFmtId");
        if (!id) id = copy.append_attribute("numFmtId");
        id.set_value(numberFormat);
        pugi::xml_attribute apply = copy.attribute("applyNumberFormat");
        if (!apply) apply = copy.append_attribute("applyNumberFormat");
        apply.set_value("1");
        pugi::xml_attribute count = cellXfs_.attribute("count");
        if (!count) count = cellXfs_.append_attribute("count");
        count.set_value(static_cast<unsigned long long>(xfs.size() + 1));
        modified_ = true;
    }
    derived_[key] = found;
    return found;
}

std::string CellStyles::Serialize() const { return xml::Print(doc_); }

}  // namespace orv::workbook
