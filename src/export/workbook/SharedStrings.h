#pragma once
// The workbook's shared-string table with a hash index, so that adding a
// text is constant time however many texts the workbook holds.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv::workbook {

// The decoded text of an inline string element (<is>...</is>).
std::string InlineStringText(std::string_view isXml);

class SharedStrings {
public:
    // Reads a sharedStrings part; throws std::runtime_error when it is not one.
    void Load(std::string_view xml);

    // Index of the plain text (in its stored _xHHHH_ form), added when new.
    std::uint32_t Add(std::string_view storedText);
    // The text of item index (runs of rich text joined), decoded; empty when
    // the index is out of range.
    std::string Text(std::uint32_t index) const;

    std::size_t size() const { return items_.size(); }
    bool Modified() const { return modified_; }
    void MarkSaved() { modified_ = false; }

    // The whole part. The reference count is left out (it is optional and
    // would need every sheet counted); uniqueCount is the number of items.
    std::string Serialize() const;

private:
    struct Item {
        std::string text;  // stored text of a plain item, or the <si> element as read
        bool raw = false;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::vector<Item> items_;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> index_;
    std::string declaration_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    std::string rootName_ = "sst";
    std::string rootAttributes_ = " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    std::string prefix_;
    bool modified_ = false;
};

}  // namespace orv::workbook
