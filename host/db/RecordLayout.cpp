#include "host/db/RecordLayout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "data/FieldText.h"
#include "host/db/Schema.h"

namespace orv::hostdb {
namespace {

const KindLayout kUnits{RecordKind::Unit,
                        "units",
                        "unit",
                        true,
                        {
                            {"PUNITID", "parent_unit_id", prop::UnitParentId, ScalarType::Int32, 0.0},
                            {"PVALUE", "factor", prop::UnitValue, ScalarType::Float, 1.0},
                        },
                        false,
                        {}};

const KindLayout kTargets{RecordKind::Target,
                          "targets",
                          "target",
                          true,
                          {
                              {"UNITID", "unit_id", prop::TargetUnitId, ScalarType::Int32, 0.0},
                              {"TYPE", "type", prop::TargetType, ScalarType::Int32, 0.0},
                          },
                          false,
                          {}};

const KindLayout kGroups{RecordKind::Group,
                         "item_groups",
                         "group",
                         false,
                         {
                             {"PARENTID", "parent_id", prop::GroupParentId, ScalarType::Int32, 0.0},
                             {"UNITID", "unit_id", prop::GroupUnitId, ScalarType::Int32, 0.0},
                             {"TYPE", "type", prop::GroupType, ScalarType::Int32, 0.0},
                             {"GROUPATTRS", "attrs", prop::GroupAttrs, ScalarType::Byte, 0.0},
                         },
                         true,
                         {"TARGETS", "targets", prop::GroupTargets, prop::GroupCount, 1, false}};

const KindLayout kItems{RecordKind::Item,
                        "items",
                        nullptr,
                        false,
                        {
                            {"MATTERID", "group_id", prop::ItemMatterId, ScalarType::Int32, 0.0},
                            {"DEFAULTVALUE", "default_value", prop::ItemDefaultValue, ScalarType::Float, 0.0},
                        },
                        true,
                        {"VALUES", "amounts", prop::ItemValues, prop::ItemCount, 2, true}};

const KindLayout kValues{RecordKind::Value,
                         "tracked_values",
                         "value",
                         true,
                         {
                             {"MATTERID", "group_id", prop::ValueMatterId, ScalarType::Int32, 0.0},
                             {"ITEMID", "item_id", prop::ValueItemId, ScalarType::Int32, 0.0},
                             {"VALUE", "value", prop::ValueValue, ScalarType::Float, 0.0},
                             {"ITEMINDEX", "item_index", prop::ValueItemIndex, ScalarType::Word, 0.0},
                             {"SECONDS", "seconds", prop::ValueSeconds, ScalarType::Seconds, 0.0},
                         },
                         false,
                         {}};

int32_t ByteSize(ScalarType type) {
    switch (type) {
    case ScalarType::Byte: return 1;
    case ScalarType::Word: return 2;
    default: return 4;
    }
}

bool FitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max());
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Host seconds as "%d" of the int32 (negative from 2038 on), or written out
// unsigned; both name the same moment.
std::optional<uint32_t> ParseSecondsText(std::string_view text) {
    if (const auto value = ParseIntText(text)) return static_cast<uint32_t>(*value);
    text = Trim(text);
    uint32_t value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseScalar(ScalarType type, std::string_view text) {
    switch (type) {
    case ScalarType::Int32:
        if (const auto v = ParseIntText(text)) return *v;
        return std::nullopt;
    case ScalarType::Float:
        if (const auto v = ParseRealText(text); v && FitsFloat(*v)) return *v;
        return std::nullopt;
    case ScalarType::Byte:
        if (const auto v = ParseIntText(text); v && *v >= 0 && *v <= 0xFF) return *v;
        return std::nullopt;
    case ScalarType::Word:
        if (const auto v = ParseIntText(text); v && *v >= 0 && *v <= 0xFFFF) return *v;
        return std::nullopt;
    case ScalarType::Seconds:
        if (const auto v = ParseSecondsText(text)) return *v;
        return std::nullopt;
    }
    return std::nullopt;
}

const std::string* FindField(const FieldMap& fields, const char* name) {
    const auto it = fields.find(name);
    return it == fields.end() ? nullptr : &it->second;
}

uint32_t FloatBits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsFloat(uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Copies an integer of `size` bytes (1, 2 or 4) into the caller's buffer.
void PutInt(void* buffer, int32_t size, int64_t value) {
    switch (size) {
    case 1: {
        const uint8_t v = static_cast<uint8_t>(value);
        std::memcpy(buffer, &v, 1);
        break;
    }
    case 2: {
        const uint16_t v = static_cast<uint16_t>(value);
        std::memcpy(buffer, &v, 2);
        break;
    }
    default: {
        const uint32_t v = static_cast<uint32_t>(value);
        std::memcpy(buffer, &v, 4);
        break;
    }
    }
}

int64_t TakeUnsigned(const void* buffer, int32_t size) {
    switch (size) {
    case 1: {
        uint8_t v = 0;
        std::memcpy(&v, buffer, 1);
        return v;
    }
    case 2: {
        uint16_t v = 0;
        std::memcpy(&v, buffer, 2);
        return v;
    }
    default: {
        uint32_t v = 0;
        std::memcpy(&v, buffer, 4);
        return v;
    }
    }
}

}  // namespace

const KindLayout& LayoutOf(RecordKind kind) {
    switch (kind) {
    case RecordKind::Unit: return kUnits;
    case RecordKind::Target: return kTargets;
    case RecordKind::Group: return kGroups;
    case RecordKind::Item: return kItems;
    case RecordKind::Value: return kValues;
    }
    return kUnits;
}

int32_t ParseRecord(const KindLayout& layout, const FieldMap& fields, RecordRow* row, bool* hasIndex) {
    *row = RecordRow{};
    *hasIndex = false;

    const std::string* id = FindField(fields, "ID");
    if (!id) return kMissingId;
    const auto idValue = ParseIntText(*id);
    if (!idValue) return kBadField;
    row->id = *idValue;

    if (const std::string* name = FindField(fields, "NAME")) row->name = *name;
    if (const std::string* index = FindField(fields, "INDEX")) {
        const auto value = ParseIntText(*index);
        if (!value) return kBadField;
        row->index = *value;
        *hasIndex = true;
    }
    if (const std::string* category = FindField(fields, "PCATEGORYID")) {
        const auto value = ParseIntText(*category);
        if (!value || *value < 0 || *value >= kCategorySlots) return kBadField;
        row->category = *value;
    }
    if (const std::string* creator = FindField(fields, "CREATORID")) {
        const auto value = ParseIntText(*creator);
        if (!value) return kBadField;
        row->creatorId = *value;
    }

    for (std::size_t i = 0; i < layout.scalars.size(); ++i) {
        const ScalarField& f = layout.scalars[i];
        row->scalars[i] = f.initial;
        if (const std::string* text = FindField(fields, f.field)) {
            const auto value = ParseScalar(f.type, *text);
            if (!value) return kBadField;
            row->scalars[i] = *value;
        }
    }

    if (layout.hasList) {
        const ListField& f = layout.list;
        if (const std::string* text = FindField(fields, f.field)) {
            if (f.floats) {
                const auto values = ParseRealListText(*text);
                if (!values || values->size() > static_cast<std::size_t>(kMaxListElements)) return kBadField;
                for (const float v : *values) {
                    if (!std::isfinite(v)) return kBadField;
                    row->list.push_back(FloatBits(v));
                }
            } else {
                const auto values = ParseIntListText(*text);
                if (!values || values->size() > static_cast<std::size_t>(kMaxListElements)) return kBadField;
                for (const int32_t v : *values) row->list.push_back(static_cast<uint32_t>(v));
            }
        }
        // COUNT decides how many elements the record has. A shorter list is
        // padded with zeros; a longer one would lose elements, so it is refused.
        if (const std::string* text = FindField(fields, "COUNT")) {
            const auto count = ParseIntText(*text);
            if (!count || *count < 0 || *count > kMaxListElements) return kBadField;
            if (row->list.size() > static_cast<std::size_t>(*count)) return kBadField;
            row->list.resize(static_cast<std::size_t>(*count), f.floats ? FloatBits(0.0f) : 0u);
        }
    }
    return kOk;
}

int32_t GetRowProperty(const KindLayout& layout, const RecordRow& row, int32_t property, void* buffer, int32_t size,
                       int32_t element) {
    for (std::size_t i = 0; i < layout.scalars.size(); ++i) {
        const ScalarField& f = layout.scalars[i];
        if (f.property != property) continue;
        if (size != ByteSize(f.type)) return kWrongSize;
        if (element != 0) return kBadElement;
        if (!buffer) return kBadArgument;
        if (f.type == ScalarType::Float) {
            const float v = static_cast<float>(row.scalars[i]);
            std::memcpy(buffer, &v, sizeof v);
        } else {
            PutInt(buffer, size, static_cast<int64_t>(row.scalars[i]));
        }
        return kOk;
    }
    if (layout.hasList) {
        const ListField& f = layout.list;
        if (property == f.countProperty) {
            if (size != f.countSize) return kWrongSize;
            if (element != 0) return kBadElement;
            if (!buffer) return kBadArgument;
            PutInt(buffer, size, static_cast<int64_t>(row.list.size()));
            return kOk;
        }
        if (property == f.property) {
            if (size != 4) return kWrongSize;
            if (element < 0 || static_cast<std::size_t>(element) >= row.list.size()) return kBadElement;
            if (!buffer) return kBadArgument;
            std::memcpy(buffer, &row.list[static_cast<std::size_t>(element)], 4);
            return kOk;
        }
    }
    return kUnknownProperty;
}

int32_t SetRowProperty(const KindLayout& layout, RecordRow* row, int32_t property, const void* buffer, int32_t size,
                       int32_t element) {
    for (std::size_t i = 0; i < layout.scalars.size(); ++i) {
        const ScalarField& f = layout.scalars[i];
        if (f.property != property) continue;
        if (size != ByteSize(f.type)) return kWrongSize;
        if (element != 0) return kBadElement;
        if (!buffer) return kBadArgument;
        switch (f.type) {
        case ScalarType::Float: {
            float v = 0;
            std::memcpy(&v, buffer, sizeof v);
            if (!std::isfinite(v)) return kBadValue;
            row->scalars[i] = v;
            break;
        }
        case ScalarType::Int32:
            row->scalars[i] = static_cast<int32_t>(static_cast<uint32_t>(TakeUnsigned(buffer, size)));
            break;
        default:  // Byte, Word and Seconds are stored unsigned
            row->scalars[i] = static_cast<double>(TakeUnsigned(buffer, size));
            break;
        }
        return kOk;
    }
    if (layout.hasList) {
        const ListField& f = layout.list;
        if (property == f.countProperty) {
            if (size != f.countSize) return kWrongSize;
            if (element != 0) return kBadElement;
            if (!buffer) return kBadArgument;
            const int64_t count = TakeUnsigned(buffer, size);
            if (count > kMaxListElements) return kBadValue;
            row->list.resize(static_cast<std::size_t>(count), f.floats ? FloatBits(0.0f) : 0u);
            return kOk;
        }
        if (property == f.property) {
            if (size != 4) return kWrongSize;
            if (element < 0 || static_cast<std::size_t>(element) >= row->list.size()) return kBadElement;
            if (!buffer) return kBadArgument;
            uint32_t bits = 0;
            std::memcpy(&bits, buffer, 4);
            if (f.floats && !std::isfinite(BitsFloat(bits))) return kBadValue;
            row->list[static_cast<std::size_t>(element)] = bits;
            return kOk;
        }
    }
    return kUnknownProperty;
}

std::vector<unsigned char> PackList(const std::vector<uint32_t>& list) {
    std::vector<unsigned char> blob;
    blob.reserve(list.size() * 4);
    for (const uint32_t v : list) {
        for (int shift = 0; shift < 32; shift += 8) blob.push_back(static_cast<unsigned char>(v >> shift));
    }
    return blob;
}

std::vector<uint32_t> UnpackList(const std::vector<unsigned char>& blob) {
    std::vector<uint32_t> list;
    const std::size_t count = std::min<std::size_t>(blob.size() / 4, kMaxListElements);
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        uint32_t v = 0;
        for (int b = 3; b >= 0; --b) v = (v << 8) | blob[i * 4 + static_cast<std::size_t>(b)];
        list.push_back(v);
    }
    return list;
}

}  // namespace orv::hostdb
