#include "export/workbook/Workbook.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

#include "export/workbook/CellAddress.h"
#include "export/workbook/CellStyles.h"
#include "export/workbook/Formula.h"
#include "export/workbook/SharedStrings.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/Worksheet.h"
#include "export/workbook/XmlDocument.h"
#include "export/workbook/XmlText.h"
#include "export/workbook/ZipPackage.h"

namespace orv {

using workbook::PackageError;
using workbook::PackagePart;
using workbook::Worksheet;

namespace {

constexpr const char* kContentTypesPart = "[Content_Types].xml";
constexpr const char* kSharedStringsType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
constexpr const char* kSharedStringsContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
// Fast deflate for saving: a million-cell sheet compresses several times
// faster than at the default level for a slightly larger file.
constexpr int kSaveCompressionLevel = 1;
constexpr std::size_t kMaxCellText = 32767;    // UTF-16 units a cell holds
constexpr std::size_t kMaxFormulaText = 8192;  // characters of a formula

// A failure inside an operation, turned into its result and diagnostic.
class OperationError : public std::runtime_error {
public:
    OperationError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string Directory(std::string_view part) {
    const auto slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// The part a relationship target names, relative to the part that holds the
// relationship ("worksheets/sheet1.xml" from "xl/workbook.xml" ->
// "xl/worksheets/sheet1.xml"; "/xl/x.xml" is from the package root).
std::string ResolveTarget(std::string_view sourcePart, std::string_view target) {
    std::string joined = (!target.empty() && target.front() == '/') ? std::string(target.substr(1))
                                                                    : Directory(sourcePart) + std::string(target);
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const auto slash = joined.find('/', start);
        const std::string segment =
            joined.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    std::string out;
    for (const std::string& segment : segments) {
        if (!out.empty()) out += '/';
        out += segment;
    }
    return out;
}

std::string RelationshipsPartOf(std::string_view part) {
    const auto slash = part.rfind('/');
    const std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return Directory(part) + "_rels/" + std::string(file) + ".rels";
}

pugi::xml_node FindChild(pugi::xml_node parent, std::string_view local) {
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && xml::LocalName(child.name()) == local) return child;
    }
    return {};
}

// The r:id of an element, whatever prefix the relationships namespace has.
std::string RelationshipId(pugi::xml_node node) {
    for (pugi::xml_attribute attr : node.attributes()) {
        const std::string_view name = attr.name();
        if (name.find(':') != std::string_view::npos && xml::LocalName(name) == "id") return attr.value();
    }
    return {};
}

bool MayReferToOtherSheets(std::string_view xml) {
    return xml.find('!') != std::string_view::npos &&
           (xml.find("<f") != std::string_view::npos || xml.find(":f>") != std::string_view::npos ||
            xml.find(":f ") != std::string_view::npos);
}

void CheckCell(int row, int column) {
    if (row < 1 || row > kMaxRows) {
        throw OperationError(kWorkbookBadArgument, "row " + std::to_string(row) + " is outside the sheet");
    }
    if (column < 1 || column > kMaxColumns) {
        throw OperationError(kWorkbookBadArgument, "column " + std::to_string(column) + " is outside the sheet");
    }
}

// A number cell's input; a value no cell can hold (infinity, NaN) is refused.
TypedInput NumberInput(std::optional<std::string> text) {
    if (!text) throw OperationError(kWorkbookBadArgument, "a cell cannot hold infinity or NaN");
    TypedInput input;
    input.kind = TypedInput::Kind::Number;
    input.value = std::move(*text);
    return input;
}

}  // namespace

// One open workbook.
struct Document {
    std::string path;
    bool readOnly = false;
    bool modified = false;

    std::vector<PackagePart> parts;
    std::unordered_map<std::string, std::size_t> partIndex;  // lower-case name -> index
    std::unordered_set<std::size_t> removedParts;

    pugi::xml_document contentTypes;
    std::string workbookPart;
    pugi::xml_document workbookXml;
    std::string workbookRelsPart;
    pugi::xml_document workbookRels;
    bool contentTypesChanged = false, workbookXmlChanged = false, workbookRelsChanged = false;

    struct Sheet {
        std::string name;
        std::string part;
        std::unique_ptr<Worksheet> model;  // parsed on first use
    };
    std::vector<Sheet> sheets;
    int selected = 1;
    int currentRow = 1;

    workbook::SharedStrings strings;
    std::string stringsPart;
    workbook::CellStyles styles;
    std::string stylesPart;
    bool stylesUnusable = false;

    PackagePart* FindPart(std::string_view name) {
        const auto it = partIndex.find(Lower(name));
        if (it == partIndex.end() || removedParts.count(it->second)) return nullptr;
        return &parts[it->second];
    }

    PackagePart& AddPart(const std::string& name) {
        partIndex[Lower(name)] = parts.size();
        PackagePart part;
        part.name = name;
        parts.push_back(std::move(part));
        return parts.back();
    }

    void RemovePart(std::string_view name) {
        const auto it = partIndex.find(Lower(name));
        if (it != partIndex.end()) removedParts.insert(it->second);
    }

    void ParsePart(pugi::xml_document& doc, std::string_view name, std::string_view rootName) {
        PackagePart* part = FindPart(name);
        if (!part) throw OperationError(kWorkbookDamaged, "the package has no part \"" + std::string(name) + "\"");
        if (const std::string problem = xml::Load(doc, part->data); !problem.empty()) {
            throw OperationError(kWorkbookDamaged, "part \"" + std::string(name) + "\": " + problem);
        }
        if (xml::LocalName(doc.document_element().name()) != rootName) {
            throw OperationError(kWorkbookDamaged,
                                 "part \"" + std::string(name) + "\" is not a " + std::string(rootName));
        }
    }

    Worksheet& SheetModel(std::size_t index) {
        Sheet& sheet = sheets[index];
        if (!sheet.model) {
            PackagePart* part = FindPart(sheet.part);
            if (!part) throw OperationError(kWorkbookDamaged, "worksheet part \"" + sheet.part + "\" is missing");
            try {
                sheet.model = std::make_unique<Worksheet>(part->data);
            } catch (const std::runtime_error& e) {
                throw OperationError(kWorkbookDamaged, "worksheet \"" + sheet.name + "\": " + e.what());
            }
        }
        return *sheet.model;
    }

    Worksheet& Current() { return SheetModel(static_cast<std::size_t>(selected - 1)); }

    workbook::CellStyles* Styles() {
        if (stylesPart.empty() || stylesUnusable) return nullptr;
        if (!styles.Loaded()) {
            PackagePart* part = FindPart(stylesPart);
            try {
                if (!part) throw std::runtime_error("missing");
                styles.Load(part->data);
            } catch (const std::runtime_error&) {
                // Values are still written, only without an automatic date format.
                stylesUnusable = true;
                return nullptr;
            }
        }
        return &styles;
    }

    void Open(const std::string& filePath, bool asReadOnly);
    void SaveTo(const std::string& target);
    void PrepareForSave();
    void RemoveCalculationChain();
    void MarkForFullRecalculation();
    void AddSharedStringsPart();
    std::string NewRelationshipId() const;
    void AdjustDefinedNames(std::string_view sheet, int first, int count);
};

void Document::Open(const std::string& filePath, bool asReadOnly) {
    path = filePath;
    readOnly = asReadOnly;
    try {
        parts = workbook::ReadPackage(filePath);
    } catch (const PackageError& e) {
        throw OperationError(e.kind() == PackageError::Kind::File ? kWorkbookFileError : kWorkbookDamaged, e.what());
    }
    for (std::size_t i = 0; i < parts.size(); ++i) partIndex.emplace(Lower(parts[i].name), i);

    if (!FindPart(kContentTypesPart)) {
        throw OperationError(kWorkbookDamaged, "not an Office Open XML package (no [Content_Types].xml)");
    }
    ParsePart(contentTypes, kContentTypesPart, "Types");

    pugi::xml_document packageRels;
    ParsePart(packageRels, "_rels/.rels", "Relationships");
    for (pugi::xml_node rel : packageRels.document_element().children()) {
        if (EndsWith(rel.attribute("Type").value(), "/officeDocument")) {
            workbookPart = ResolveTarget("", rel.attribute("Target").value());
            break;
        }
    }
    if (workbookPart.empty()) throw OperationError(kWorkbookDamaged, "the package holds no document");
    ParsePart(workbookXml, workbookPart, "workbook");
    workbookRelsPart = RelationshipsPartOf(workbookPart);
    ParsePart(workbookRels, workbookRelsPart, "Relationships");

    struct Target {
        std::string type, part;
    };
    std::unordered_map<std::string, Target> relationships;
    for (pugi::xml_node rel : workbookRels.document_element().children()) {
        if (std::string_view(rel.attribute("TargetMode").value()) == "External") continue;
        const std::string type = rel.attribute("Type").value();
        const std::string part = ResolveTarget(workbookPart, rel.attribute("Target").value());
        relationships[rel.attribute("Id").value()] = {type, part};
        if (EndsWith(type, "/sharedStrings")) stringsPart = part;
        if (EndsWith(type, "/styles")) stylesPart = part;
    }

    for (pugi::xml_node node : FindChild(workbookXml.document_element(), "sheets").children()) {
        if (xml::LocalName(node.name()) != "sheet") continue;
        const auto it = relationships.find(RelationshipId(node));
        if (it == relationships.end()) {
            throw OperationError(kWorkbookDamaged,
                                 std::string("sheet \"") + node.attribute("name").value() + "\" has no part");
        }
        if (!EndsWith(it->second.type, "/worksheet")) continue;  // chart and dialog sheets
        if (!FindPart(it->second.part)) {
            throw OperationError(kWorkbookDamaged, "worksheet part \"" + it->second.part + "\" is missing");
        }
        sheets.push_back({node.attribute("name").value(), it->second.part, nullptr});
    }
    if (sheets.empty()) throw OperationError(kWorkbookDamaged, "the workbook has no worksheet");

    if (!stringsPart.empty()) {
        PackagePart* part = FindPart(stringsPart);
        if (!part) throw OperationError(kWorkbookDamaged, "shared-strings part \"" + stringsPart + "\" is missing");
        try {
            strings.Load(part->data);
        } catch (const std::runtime_error& e) {
            throw OperationError(kWorkbookDamaged, e.what());
        }
    }
    selected = 1;
    currentRow = 1;
    SheetModel(0);
}

std::string Document::NewRelationshipId() const {
    std::unordered_set<std::string> used;
    for (pugi::xml_node rel : workbookRels.document_element().children()) used.insert(rel.attribute("Id").value());
    for (int n = 1;; ++n) {
        std::string id = "rId" + std::to_string(n);
        if (!used.count(id)) return id;
    }
}

// The calculation chain lists formula cells in the order last computed; after
// cells move it is stale, and a stale chain makes a spreadsheet program
// repair the file. It is dropped with its relationship and content type, and
// rebuilt by the program on the next calculation.
void Document::RemoveCalculationChain() {
    std::vector<std::string> chainParts;
    pugi::xml_node relsRoot = workbookRels.document_element();
    for (pugi::xml_node rel = relsRoot.first_child(); rel;) {
        pugi::xml_node next = rel.next_sibling();
        if (EndsWith(rel.attribute("Type").value(), "/calcChain")) {
            chainParts.push_back(ResolveTarget(workbookPart, rel.attribute("Target").value()));
            relsRoot.remove_child(rel);
            workbookRelsChanged = true;
        }
        rel = next;
    }
    pugi::xml_node typesRoot = contentTypes.document_element();
    for (pugi::xml_node entry = typesRoot.first_child(); entry;) {
        pugi::xml_node next = entry.next_sibling();
        if (xml::LocalName(entry.name()) == "Override") {
            const std::string name = ResolveTarget("", entry.attribute("PartName").value());
            const bool isChain =
                std::string_view(entry.attribute("ContentType").value()).find("calcChain") != std::string_view::npos;
            const bool listed = std::any_of(chainParts.begin(), chainParts.end(),
                                            [&](const std::string& p) { return Lower(p) == Lower(name); });
            if (isChain || listed) {
                if (isChain) chainParts.push_back(name);
                typesRoot.remove_child(entry);
                contentTypesChanged = true;
            }
        }
        entry = next;
    }
    for (const std::string& part : chainParts) RemovePart(part);
}

void Document::MarkForFullRecalculation() {
    pugi::xml_node root = workbookXml.document_element();
    pugi::xml_node calcPr = FindChild(root, "calcPr");
    if (!calcPr) {
        static const std::string_view kBefore[] = {"fileVersion",        "fileSharing",        "workbookPr",
                                                   "workbookProtection", "bookViews",          "sheets",
                                                   "functionGroups",     "externalReferences", "definedNames"};
        pugi::xml_node after;
        for (pugi::xml_node child : root.children()) {
            if (std::find(std::begin(kBefore), std::end(kBefore), xml::LocalName(child.name())) != std::end(kBefore)) {
                after = child;
            }
        }
        const std::string name = std::string(xml::Prefix(root.name())) + "calcPr";
        calcPr = after ? root.insert_child_after(name.c_str(), after) : root.prepend_child(name.c_str());
        workbookXmlChanged = true;
    }
    pugi::xml_attribute full = calcPr.attribute("fullCalcOnLoad");
    if (!full) full = calcPr.append_attribute("fullCalcOnLoad");
    if (std::string_view(full.value()) != "1") {
        full.set_value("1");
        workbookXmlChanged = true;
    }
}

void Document::AddSharedStringsPart() {
    std::string name = Directory(workbookPart) + "sharedStrings.xml";
    for (int n = 2; FindPart(name); ++n) name = Directory(workbookPart) + "sharedStrings" + std::to_string(n) + ".xml";
    stringsPart = name;
    AddPart(name);
    pugi::xml_node rel = workbookRels.document_element().append_child(
        (std::string(xml::Prefix(workbookRels.document_element().name())) + "Relationship").c_str());
    rel.append_attribute("Id").set_value(NewRelationshipId().c_str());
    rel.append_attribute("Type").set_value(kSharedStringsType);
    const std::string directory = Directory(workbookPart);
    rel.append_attribute("Target").set_value(name.substr(directory.size()).c_str());
    workbookRelsChanged = true;
    pugi::xml_node types = contentTypes.document_element();
    pugi::xml_node entry = types.append_child((std::string(xml::Prefix(types.name())) + "Override").c_str());
    entry.append_attribute("PartName").set_value(("/" + name).c_str());
    entry.append_attribute("ContentType").set_value(kSharedStringsContentType);
    contentTypesChanged = true;
}

void Document::PrepareForSave() {
    RemoveCalculationChain();
    MarkForFullRecalculation();
    for (Sheet& sheet : sheets) {
        if (sheet.model && sheet.model->Dirty()) {
            PackagePart* part = FindPart(sheet.part);
            if (!part) throw OperationError(kWorkbookInternal, "worksheet part \"" + sheet.part + "\" vanished");
            part->data = sheet.model->Serialize();
        }
    }
    if (strings.Modified()) {
        if (stringsPart.empty() || !FindPart(stringsPart)) AddSharedStringsPart();
        FindPart(stringsPart)->data = strings.Serialize();
    }
    if (styles.Modified()) FindPart(stylesPart)->data = styles.Serialize();
    if (workbookXmlChanged) FindPart(workbookPart)->data = xml::Print(workbookXml);
    if (workbookRelsChanged) FindPart(workbookRelsPart)->data = xml::Print(workbookRels);
    if (contentTypesChanged) FindPart(kContentTypesPart)->data = xml::Print(contentTypes);
}

void Document::SaveTo(const std::string& target) {
    PrepareForSave();
    std::vector<const PackagePart*> ordered;
    ordered.reserve(parts.size());
    // Content types first: readers that stream the archive look for it there.
    if (const PackagePart* types = FindPart(kContentTypesPart)) ordered.push_back(types);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (removedParts.count(i) || (!ordered.empty() && &parts[i] == ordered.front())) continue;
        ordered.push_back(&parts[i]);
    }
    try {
        workbook::WritePackage(target, ordered, kSaveCompressionLevel);
    } catch (const PackageError& e) {
        throw OperationError(kWorkbookFileError, e.what());
    }
    for (Sheet& sheet : sheets) {
        if (sheet.model) sheet.model->MarkSaved();
    }
    strings.MarkSaved();
    styles.MarkSaved();
    contentTypesChanged = workbookXmlChanged = workbookRelsChanged = false;
    modified = false;
}

void Document::AdjustDefinedNames(std::string_view sheet, int first, int count) {
    std::string adjusted;
    for (pugi::xml_node name : FindChild(workbookXml.document_element(), "definedNames").children()) {
        if (xml::LocalName(name.name()) != "definedName") continue;
        if (formula::AdjustForDeletedRows(name.text().get(), sheet, false, first, count, adjusted) ==
            formula::Status::Changed) {
            name.text().set(adjusted.c_str());
            workbookXmlChanged = true;
        }
    }
}

struct Workbook::Impl {
    std::unique_ptr<Document> doc;
    std::string diagnostic;

    Document& Open() {
        if (!doc) throw OperationError(kWorkbookNotOpen, "no workbook is open");
        return *doc;
    }

    // Runs one operation: its exceptions become a failure result and a
    // diagnostic text naming the operation.
    template <typename Operation>
    int Run(const char* name, std::string* diag, Operation&& operation) {
        int code;
        std::string message;
        try {
            return operation();
        } catch (const OperationError& e) {
            code = e.Code();
            message = e.what();
        } catch (const std::bad_alloc&) {
            code = kWorkbookInternal;
            message = "out of memory";
        } catch (const std::runtime_error& e) {
            code = kWorkbookDamaged;
            message = e.what();
        } catch (const std::exception& e) {
            code = kWorkbookInternal;
            message = e.what();
        } catch (...) {
            code = kWorkbookInternal;
            message = "unknown failure";
        }
        diagnostic = std::string(name) + ": " + message;
        if (diag) *diag = diagnostic;
        return code;
    }

    int Write(int row, int column, const TypedInput& input, const std::string* cachedResult = nullptr);
};

int Workbook::Impl::Write(int row, int column, const TypedInput& input, const std::string* cachedResult) {
    Document& d = Open();
    CheckCell(row, column);
    std::string stored;
    switch (input.kind) {
    case TypedInput::Kind::Formula:
        if (xml::EncodeCellText(input.value) != input.value) {
            throw OperationError(kWorkbookBadArgument, "the formula holds characters a cell cannot take");
        }
        if (xml::Utf16Length(input.value) + 1 > kMaxFormulaText) {
            throw OperationError(kWorkbookBadArgument, "the formula is longer than a cell takes");
        }
        if (!formula::IsWellFormed(input.value)) {
            throw OperationError(kWorkbookBadArgument, "the formula \"=" + input.value + "\" is not well-formed");
        }
        break;
    case TypedInput::Kind::Text:
        stored = xml::EncodeCellText(input.value);
        if (stored.size() > kMaxCellText && xml::Utf16Length(xml::DecodeCellText(stored)) > kMaxCellText) {
            throw OperationError(kWorkbookBadArgument, "the text is longer than the 32767 characters a cell holds");
        }
        break;
    default: break;
    }

    Worksheet& sheet = d.Current();
    workbook::Cell& cell = sheet.CellAt(sheet.RowAt(row), column);
    cell.ClearContent();
    switch (input.kind) {
    case TypedInput::Kind::Formula:
        cell.hasFormula = true;
        cell.type = workbook::ValueType::Number;
        cell.text = input.value;
        if (cachedResult) {
            if (!cell.extra) cell.extra = std::make_unique<workbook::CellExtra>();
            cell.extra->hasCachedValue = true;
            cell.extra->cachedValue = *cachedResult;
        }
        break;
    case TypedInput::Kind::Text:
        if (!stored.empty()) {
            cell.type = workbook::ValueType::SharedString;
            cell.text = std::to_string(d.strings.Add(stored));
        }
        break;
    case TypedInput::Kind::Number:
        cell.type = workbook::ValueType::Number;
        cell.text = input.value;
        if (input.numberFormat != 0) {
            if (workbook::CellStyles* styles = d.Styles()) {
                cell.style = styles->WithNumberFormat(cell.style, input.numberFormat);
            }
        }
        break;
    case TypedInput::Kind::Boolean:
        cell.type = workbook::ValueType::Boolean;
        cell.text = input.value;
        break;
    }
    sheet.MarkDirty();
    d.modified = true;
    return kWorkbookOk;
}

Workbook::Workbook() : impl_(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;

int Workbook::Open(const std::string& path, bool readOnly, std::string* diag) {
    return impl_->Run("open", diag, [&] {
        if (impl_->doc) throw OperationError(kWorkbookBusy, "\"" + impl_->doc->path + "\" is still open");
        auto doc = std::make_unique<Document>();
        doc->Open(path, readOnly);
        impl_->doc = std::move(doc);
        return kWorkbookOk;
    });
}

int Workbook::Save(std::string* diag) {
    return impl_->Run("save", diag, [&] {
        Document& d = impl_->Open();
        if (d.readOnly) throw OperationError(kWorkbookReadOnly, "\"" + d.path + "\" was opened read-only");
        d.SaveTo(d.path);
        return kWorkbookOk;
    });
}

int Workbook::SaveAs(const std::string& path, std::string* diag) {
    return impl_->Run("save as", diag, [&] {
        Document& d = impl_->Open();
        d.SaveTo(path);
        d.path = path;
        d.readOnly = false;
        return kWorkbookOk;
    });
}

int Workbook::Close(bool saveChanges, std::string* diag) {
    return impl_->Run("close", diag, [&] {
        Document& d = impl_->Open();
        if (saveChanges && d.modified) {
            if (d.readOnly) throw OperationError(kWorkbookReadOnly, "\"" + d.path + "\" was opened read-only");
            d.SaveTo(d.path);
        }
        impl_->doc.reset();
        return kWorkbookOk;
    });
}

bool Workbook::IsOpen() const { return impl_->doc != nullptr; }
bool Workbook::IsModified() const { return impl_->doc && impl_->doc->modified; }

const std::string& Workbook::Path() const {
    static const std::string kNone;
    return impl_->doc ? impl_->doc->path : kNone;
}

int Workbook::SheetCount() const { return impl_->doc ? static_cast<int>(impl_->doc->sheets.size()) : 0; }

int Workbook::SelectSheet(int index, std::string* diag) {
    return impl_->Run("select worksheet", diag, [&] {
        Document& d = impl_->Open();
        if (index < 1 || index > static_cast<int>(d.sheets.size())) {
            throw OperationError(kWorkbookBadArgument, "there is no worksheet " + std::to_string(index));
        }
        d.SheetModel(static_cast<std::size_t>(index - 1));
        d.selected = index;
        return kWorkbookOk;
    });
}

int Workbook::SelectedSheet() const { return impl_->doc ? impl_->doc->selected : 0; }

std::string Workbook::SheetName() const {
    return impl_->doc ? impl_->doc->sheets[static_cast<std::size_t>(impl_->doc->selected - 1)].name : std::string();
}

void Workbook::SetCurrentRow(int row) {
    if (impl_->doc) impl_->doc->currentRow = row;
}

int Workbook::CurrentRow() const { return impl_->doc ? impl_->doc->currentRow : 0; }

int Workbook::SetText(int row, int column, std::string_view text, std::string* diag) {
    return impl_->Run("write text", diag, [&] { return impl_->Write(row, column, InterpretTypedInput(text)); });
}

int Workbook::SetLiteralText(int row, int column, std::string_view text, std::string* diag) {
    return impl_->Run("write text", diag, [&] {
        TypedInput input;
        input.value.assign(text);
        return impl_->Write(row, column, input);
    });
}

int Workbook::SetNumber(int row, int column, double value, std::string* diag) {
    return impl_->Run("write number", diag,
                      [&] { return impl_->Write(row, column, NumberInput(FormatNumber(value))); });
}

int Workbook::SetNumber(int row, int column, float value, std::string* diag) {
    return impl_->Run("write number", diag,
                      [&] { return impl_->Write(row, column, NumberInput(FormatNumber(value))); });
}

int Workbook::SetFormula(int row, int column, std::string_view formula, double result, std::string* diag) {
    return impl_->Run("write formula", diag, [&] {
        TypedInput input;
        input.kind = TypedInput::Kind::Formula;
        input.value.assign(formula);
        const auto text = FormatNumber(result);
        return impl_->Write(row, column, input, text ? &*text : nullptr);
    });
}

int Workbook::SetWholeNumber(int column, std::int32_t value, std::string* diag) {
    return impl_->Run("write whole number", diag, [&] {
        TypedInput input;
        input.kind = TypedInput::Kind::Number;
        input.value = std::to_string(value);
        return impl_->Write(impl_->Open().currentRow, column, input);
    });
}

int Workbook::CopyRows(int firstRow, int rowCount, int destinationRow, int repeatCount, std::string* diag) {
    return impl_->Run("copy rows", diag, [&] {
        Document& d = impl_->Open();
        if (firstRow < 1 || rowCount < 0 || repeatCount < 0 || destinationRow < 1) {
            throw OperationError(kWorkbookBadArgument, "rows to copy must be positive");
        }
        const long long sourceLast = static_cast<long long>(firstRow) + rowCount - 1 + (repeatCount > 0 ? 2 : 0);
        const long long written = static_cast<long long>(rowCount) + (repeatCount > 0 ? repeatCount + 1LL : 0);
        if (sourceLast > kMaxRows || destinationRow + written - 1 > kMaxRows) {
            throw OperationError(kWorkbookBadArgument, "the rows to copy reach beyond the sheet");
        }
        if (written == 0) return destinationRow;
        Worksheet& sheet = d.Current();
        const int next = sheet.CopyRows(firstRow, rowCount, destinationRow, repeatCount);
        d.modified = true;
        return next;
    });
}

int Workbook::DeleteRows(int firstRow, int rowCount, std::string* diag) {
    return impl_->Run("delete rows", diag, [&] {
        Document& d = impl_->Open();
        if (firstRow < 1 || rowCount < 1 || static_cast<long long>(firstRow) + rowCount - 1 > kMaxRows) {
            throw OperationError(kWorkbookBadArgument, "the rows to delete are outside the sheet");
        }
        const std::size_t current = static_cast<std::size_t>(d.selected - 1);
        // Every sheet that may refer to this one is read before anything
        // changes, so that a damaged sheet stops the operation before it starts.
        for (std::size_t i = 0; i < d.sheets.size(); ++i) {
            if (i == current || d.sheets[i].model) continue;
            if (const PackagePart* part = d.FindPart(d.sheets[i].part); part && MayReferToOtherSheets(part->data)) {
                d.SheetModel(i);
            }
        }
        Worksheet& sheet = d.Current();
        const std::string& name = d.sheets[current].name;
        sheet.DeleteRows(firstRow, rowCount);
        for (std::size_t i = 0; i < d.sheets.size(); ++i) {
            if (d.sheets[i].model) d.sheets[i].model->AdjustFormulasForDeletion(name, i == current, firstRow, rowCount);
        }
        d.AdjustDefinedNames(name, firstRow, rowCount);
        d.modified = true;
        return kWorkbookOk;
    });
}

CellContent Workbook::GetCell(int row, int column) const {
    CellContent content;
    if (!impl_->doc) return content;
    Document& d = *impl_->doc;
    const Worksheet* sheet = d.sheets[static_cast<std::size_t>(d.selected - 1)].model.get();
    const workbook::Cell* cell = sheet ? sheet->FindCell(row, column) : nullptr;
    if (!cell) return content;
    content.style = cell->style;
    std::string_view value = cell->text;
    bool hasValue = cell->type != workbook::ValueType::Blank;
    if (cell->hasFormula) {
        content.formula = cell->text;
        hasValue = cell->extra && cell->extra->hasCachedValue;
        value = hasValue ? std::string_view(cell->extra->cachedValue) : std::string_view();
    }
    if (!hasValue) return content;
    switch (cell->type) {
    case workbook::ValueType::Blank: break;
    case workbook::ValueType::Number:
        content.kind = CellKind::Number;
        content.value = value;
        break;
    case workbook::ValueType::SharedString: {
        content.kind = CellKind::Text;
        std::uint32_t index = 0;
        std::from_chars(value.data(), value.data() + value.size(), index);
        content.value = d.strings.Text(index);
        break;
    }
    case workbook::ValueType::InlineString:
        content.kind = CellKind::Text;
        content.value = cell->extra ? workbook::InlineStringText(cell->extra->inlineXml) : std::string();
        break;
    case workbook::ValueType::FormulaString:
        content.kind = CellKind::Text;
        content.value = xml::DecodeCellText(value);
        break;
    case workbook::ValueType::Boolean:
        content.kind = CellKind::Boolean;
        content.value = value;
        break;
    case workbook::ValueType::Error:
        content.kind = CellKind::Error;
        content.value = value;
        break;
    case workbook::ValueType::Date:
        content.kind = CellKind::Date;
        content.value = value;
        break;
    }
    return content;
}

double Workbook::RowHeight(int row) const {
    if (!impl_->doc) return -1;
    const Document& d = *impl_->doc;
    const Worksheet* sheet = d.sheets[static_cast<std::size_t>(d.selected - 1)].model.get();
    const workbook::Row* found = sheet ? sheet->FindRow(row) : nullptr;
    if (!found) return -1;
    for (const auto& [name, value] : found->attributes) {
        if (name != "ht") continue;
        double height = -1;
        const auto res = std::from_chars(value.data(), value.data() + value.size(), height);
        return res.ec == std::errc() ? height : -1;
    }
    return -1;
}

int Workbook::LastRow() const {
    if (!impl_->doc) return 0;
    const Document& d = *impl_->doc;
    const Worksheet* sheet = d.sheets[static_cast<std::size_t>(d.selected - 1)].model.get();
    return sheet ? sheet->LastRow() : 0;
}

std::vector<std::string> Workbook::MergedRanges() const {
    std::vector<std::string> ranges;
    if (!impl_->doc) return ranges;
    const Document& d = *impl_->doc;
    const Worksheet* sheet = d.sheets[static_cast<std::size_t>(d.selected - 1)].model.get();
    if (!sheet) return ranges;
    for (const CellArea& area : sheet->Merges()) ranges.push_back(FormatCellArea(area));
    return ranges;
}

const std::string& Workbook::Diagnostic() const { return impl_->diagnostic; }

}  // namespace orv
