#pragma once
// How each record kind is laid out: its fields as they arrive in a FieldMap,
// the table column each is stored in, and the numbered host property (with
// its byte size) through which it is read and changed. RecordRow is one
// record in memory; the functions here turn a FieldMap into a row and read
// and write a row's properties. No SQLite here.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/HostExtensions.h"
#include "data/HostInterfaces.h"
#include "data/Records.h"

namespace orv::hostdb {

// Results of the host operations: 0 success, negative failures. The ones the
// module tells apart have the values of hostresult.
enum HostResult : int32_t {
    kOk = hostresult::kOk,
    kUnknownProperty = -1,                      // no such property for this kind
    kWrongSize = -2,                            // byte size does not match the property
    kBadElement = -3,                           // list element out of range, or non-zero for a scalar
    kBadArgument = -4,                          // null buffer, null text, bad flag
    kGone = hostresult::kGone,                  // the record no longer exists
    kBadValue = -6,                             // value out of the field's range (or not finite)
    kStorageError = hostresult::kStorageError,  // SQLite failed (disk full, I/O error, ...)
    kBadField = -8,                             // a FieldMap text does not parse or is out of range
    kMissingId = -9,                            // the FieldMap has no ID
    kDuplicateId = -10,                         // a record with that ID exists
    kBusy = hostresult::kBusy,                  // another program held the database past the busy timeout
    kReadOnly = hostresult::kReadOnly,          // the database is open read-only
};

enum class ScalarType {
    Int32,    // "%d", 4-byte int32 property
    Float,    // "%f", 4-byte float property
    Byte,     // "%d" 0..255, 1-byte property
    Word,     // "%d" 0..65535, 2-byte property
    Seconds,  // "%d", 4-byte int32 property read unsigned; stored 0..2^32-1
};

struct ScalarField {
    const char* field;
    const char* column;
    int32_t property;
    ScalarType type;
    double initial;  // when the FieldMap leaves the field out
};

struct ListField {
    const char* field;
    const char* column;
    int32_t property;
    int32_t countProperty;
    int32_t countSize;  // byte size of the COUNT property (1 or 2)
    bool floats;        // float elements, else int32
};

inline constexpr std::size_t kMaxScalars = 5;

struct KindLayout {
    RecordKind kind;
    const char* table;
    const char* categoryKind;  // key in the categories table; null: none
    bool indexInFields;        // INDEX crosses in the FieldMap (units, targets, values)
    std::vector<ScalarField> scalars;
    bool hasList;
    ListField list;
};

const KindLayout& LayoutOf(RecordKind kind);
inline constexpr std::array<RecordKind, 5> kAllKinds = {RecordKind::Unit, RecordKind::Target, RecordKind::Group,
                                                        RecordKind::Item, RecordKind::Value};

struct RecordRow {
    int32_t id = 0;
    int32_t index = 0;
    std::string name;
    int32_t category = 0;
    int32_t creatorId = 0;
    bool skipped = false;
    bool confirmed = false;
    // Scalar fields in layout order; doubles hold every int32, uint32 and float exactly.
    std::array<double, kMaxScalars> scalars{};
    // List elements as raw 4-byte patterns (int32 or float bits).
    std::vector<uint32_t> list;
};

// Fills `row` from a FieldMap. kMissingId without ID, kBadField when a text
// does not parse or is out of range (a list longer than 31 or than COUNT, a
// category outside 0..15, a non-finite real). *hasIndex tells whether INDEX
// was given. The row is complete only when the result is kOk.
int32_t ParseRecord(const KindLayout& layout, const FieldMap& fields, RecordRow* row, bool* hasIndex);

// Property access on a row. Never touches more than `size` bytes of `buffer`.
int32_t GetRowProperty(const KindLayout& layout, const RecordRow& row, int32_t property, void* buffer, int32_t size,
                       int32_t element);
int32_t SetRowProperty(const KindLayout& layout, RecordRow* row, int32_t property, const void* buffer, int32_t size,
                       int32_t element);

// Packs list elements into the stored blob (little-endian) and back. A blob
// whose size is not a multiple of 4 keeps its whole elements only; more than
// 31 elements are cut to 31.
std::vector<unsigned char> PackList(const std::vector<uint32_t>& list);
std::vector<uint32_t> UnpackList(const std::vector<unsigned char>& blob);

}  // namespace orv::hostdb
