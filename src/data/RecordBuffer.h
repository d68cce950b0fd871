#pragma once
// The settings record as it crosses to and from the host: an array of
// 1024-byte entries, each a zero-terminated name at offset 0 and a
// zero-terminated value at offset 512 (at most 511 characters each).

#include <cstdint>
#include <vector>

#include "data/HostInterfaces.h"

namespace orv {

class RecordBuffer {
public:
    static constexpr int32_t kEntrySize = 1024;
    static constexpr int32_t kValueOffset = 512;
    static constexpr int32_t kMaxText = 511;
    static constexpr int32_t kDefaultEntries = 100;

    explicit RecordBuffer(int32_t entries = kDefaultEntries);

    char* data() { return bytes_.data(); }
    const char* data() const { return bytes_.data(); }
    int32_t capacity() const { return capacity_; }

    // Writes the map's entries in ascending name order. `count` holds the
    // entries the buffer offers and receives the number written. -1 without a
    // map, -2 when the map has more entries than offered; 0 otherwise. Texts
    // longer than 511 bytes are cut on a character boundary.
    static int32_t Encode(const FieldMap* map, char* buffer, int32_t* count);
    // Clears the map and inserts the first `count` entries in order; the first
    // of two equal names wins. -1 without a map; 0 otherwise.
    static int32_t Decode(FieldMap* map, const char* buffer, int32_t count);

    int32_t Encode(const FieldMap& map, int32_t* count) { return Encode(&map, data(), count); }
    int32_t Decode(FieldMap& map, int32_t count) const { return Decode(&map, data(), count); }

private:
    int32_t capacity_;
    std::vector<char> bytes_;
};

}  // namespace orv
