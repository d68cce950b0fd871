#include "data/RecordBuffer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "data/FieldText.h"

namespace orv {
namespace {

void PutText(char* slot, const std::string& text) {
    const std::string_view cut = CutUtf8(text, RecordBuffer::kMaxText);
    std::memcpy(slot, cut.data(), cut.size());
    slot[cut.size()] = '\0';
}

std::string GetText(const char* slot) {
    // An entry written by someone else may lack its terminator: never read
    // past the 511 characters the slot allows.
    return std::string(slot, strnlen(slot, RecordBuffer::kMaxText));
}

}  // namespace

RecordBuffer::RecordBuffer(int32_t entries)
    : capacity_(std::max(entries, 0)), bytes_(static_cast<std::size_t>(capacity_) * kEntrySize, '\0') {}

int32_t RecordBuffer::Encode(const FieldMap* map, char* buffer, int32_t* count) {
    if (!map) return -1;
    if (!buffer || !count || *count < 0 || map->size() > static_cast<std::size_t>(*count)) return -2;
    int32_t i = 0;
    for (const auto& [name, value] : *map) {
        char* entry = buffer + static_cast<std::size_t>(i) * kEntrySize;
        PutText(entry, name);
        PutText(entry + kValueOffset, value);
        ++i;
    }
    *count = i;
    return 0;
}

int32_t RecordBuffer::Decode(FieldMap* map, const char* buffer, int32_t count) {
    if (!map) return -1;
    map->clear();
    if (!buffer) return 0;
    for (int32_t i = 0; i < count; ++i) {
        const char* entry = buffer + static_cast<std::size_t>(i) * kEntrySize;
        map->emplace(GetText(entry), GetText(entry + kValueOffset));
    }
    return 0;
}

}  // namespace orv
