#pragma once
// The host's objects as the module sees them.
//
// Every class here is an interface of numbered operations: operation N is the
// N-th entry of the class's virtual table, counted from 0. The functions are
// therefore declared in slot order, slots the module never calls are filled
// with reserved placeholders, and no class has a virtual destructor (it would
// take a slot). The host creates and frees these objects; the module only
// calls them. tests/data/host_interface_slots_test.cpp proves every slot.

#include <cstdint>
#include <map>
#include <string>

namespace orv {

// A record as a map of field name to text, ordered by byte-wise comparison of
// the names (std::string compares through char_traits<char>, i.e. memcmp).
using FieldMap = std::map<std::string, std::string>;

// The host's date and time: seven unsigned 16-bit fields in this order.
struct HostDateTime {
    uint16_t second = 0;
    uint16_t minute = 0;
    uint16_t hour = 0;
    uint16_t day = 1;
    uint16_t month = 1;      // 1..12
    uint16_t year = 1970;    // four digits
    uint16_t dayOfWeek = 4;  // 0 = Sunday
};
static_assert(sizeof(HostDateTime) == 14);

// Host property numbers of the record kinds.
namespace prop {
inline constexpr int32_t GroupParentId = 0x101;
inline constexpr int32_t GroupUnitId = 0x102;
inline constexpr int32_t GroupCount = 0x103;
inline constexpr int32_t GroupType = 0x104;
inline constexpr int32_t GroupTargets = 0x105;
inline constexpr int32_t GroupAttrs = 0x106;
inline constexpr int32_t ItemMatterId = 0x201;
inline constexpr int32_t ItemDefaultValue = 0x202;
inline constexpr int32_t ItemCount = 0x203;
inline constexpr int32_t ItemValues = 0x204;
inline constexpr int32_t UnitValue = 0x301;
inline constexpr int32_t UnitParentId = 0x302;
inline constexpr int32_t ValueItemId = 0x401;
inline constexpr int32_t ValueValue = 0x402;
inline constexpr int32_t ValueItemIndex = 0x403;
inline constexpr int32_t ValueMatterId = 0x404;
inline constexpr int32_t ValueSeconds = 0x405;
inline constexpr int32_t TargetType = 0x601;
inline constexpr int32_t TargetUnitId = 0x602;
}  // namespace prop

// The named facet: id, INDEX and name of a record or category object.
class HostNamed {
public:
    virtual void Reserved0() {}
    virtual int32_t GetId() = 0;     // 1
    virtual int32_t GetIndex() = 0;  // 2
    virtual void Reserved3() {}
    virtual void Reserved4() {}
    virtual int32_t GetName(char* buffer, int32_t capacity) = 0;  // 5
    virtual int32_t SetName(const char* text) = 0;                // 6

protected:
    ~HostNamed() = default;
};

// A stored record of one of the five kinds.
class HostRecordOps {
public:
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual int32_t IsSkipped() = 0;  // 3
    virtual void Reserved4() {}
    virtual void Reserved5() {}
    virtual void Reserved6() {}
    virtual int32_t Commit() = 0;                // 7
    virtual int32_t Delete(int32_t really) = 0;  // 8
    virtual int32_t AfterAdd(int32_t flag) = 0;  // 9
    virtual void Reserved10() {}
    virtual int32_t SetCategory(int32_t category) = 0;  // 11
    virtual int32_t GetCategory() = 0;                  // 12
    virtual void Reserved13() {}
    virtual void Reserved14() {}
    virtual void Reserved15() {}
    virtual void Reserved16() {}
    virtual void Reserved17() {}
    // Property access: `size` is the element's byte size (1, 2 or 4),
    // `element` the position inside a list property (0 for scalars).
    virtual int32_t GetProperty(int32_t id, void* buffer, int32_t size, int32_t element) = 0;        // 18
    virtual int32_t SetProperty(int32_t id, const void* buffer, int32_t size, int32_t element) = 0;  // 19

protected:
    ~HostRecordOps() = default;
};

// The record object the host hands out: the record operations first (so its
// own table is the primary one) and the named facet as the second interface.
class HostRecord : public HostRecordOps, public HostNamed {
public:
    HostNamed& Named() { return *this; }

protected:
    ~HostRecord() = default;
};

// A category slot object: its own slot 3 follows a rename, its facet gives
// the category number (facet slot 2) and host id (facet slot 1).
class HostCategoryOps {
public:
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual int32_t AfterRename(int32_t flag) = 0;  // 3

protected:
    ~HostCategoryOps() = default;
};

class HostCategory : public HostCategoryOps, public HostNamed {
public:
    HostNamed& Named() { return *this; }

protected:
    ~HostCategory() = default;
};

class HostTable {
public:
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual int32_t MoveFirst() = 0;  // 3
    virtual int32_t MoveNext() = 0;   // 4
    virtual int32_t IsEnd() = 0;      // 5
    virtual void Reserved6() {}
    virtual HostRecord* Current() = 0;  // 7
    virtual void Reserved8() {}
    virtual int32_t Add(const FieldMap* fields) = 0;  // 9
    virtual void Reserved10() {}
    virtual void Reserved11() {}
    virtual HostRecord* Find(int32_t id) = 0;  // 12
    virtual void Reserved13() {}
    virtual void Reserved14() {}
    virtual void Reserved15() {}
    virtual void Reserved16() {}
    virtual void Reserved17() {}
    virtual void Reserved18() {}
    virtual void Reserved19() {}
    virtual void Reserved20() {}
    virtual void Reserved21() {}
    virtual void Reserved22() {}
    virtual void Reserved23() {}
    virtual void Reserved24() {}
    virtual void Reserved25() {}
    virtual void Reserved26() {}
    virtual void Reserved27() {}
    virtual void Reserved28() {}
    virtual int32_t MaxId() = 0;     // 29: +1 is a free id
    virtual int32_t MaxIndex() = 0;  // 30: +1 is the next INDEX

protected:
    ~HostTable() = default;
};

class HostCategoryTable {
public:
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual void Reserved3() {}
    virtual void Reserved4() {}
    virtual void Reserved5() {}
    virtual void Reserved6() {}
    virtual void Reserved7() {}
    virtual void Reserved8() {}
    virtual void Reserved9() {}
    virtual void Reserved10() {}
    virtual int32_t MoveFirst() = 0;  // 11
    virtual int32_t MoveNext() = 0;   // 12
    virtual int32_t IsEnd() = 0;      // 13
    virtual void Reserved14() {}
    virtual HostCategory* Current() = 0;  // 15

protected:
    ~HostCategoryTable() = default;
};

// A record of the settings store, as found by name.
class HostSettingsRecord {
public:
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual void Reserved3() {}
    virtual void Reserved4() {}
    virtual void Reserved5() {}
    virtual void Reserved6() {}
    virtual void Reserved7() {}
    virtual void Reserved8() {}
    virtual void Reserved9() {}
    virtual void Reserved10() {}
    virtual void Reserved11() {}
    virtual void Reserved12() {}
    // Fills a RecordBuffer; `count` holds the entries offered and receives the
    // entries written. 0 on success.
    virtual int32_t Read(char* buffer, int32_t* count) = 0;  // 13

protected:
    ~HostSettingsRecord() = default;
};

class HostSettingsStore {
public:
    virtual HostSettingsRecord* Find(const char* name) = 0;  // 0
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual void Reserved3() {}
    virtual void Reserved4() {}
    virtual void Reserved5() {}
    // Writes a RecordBuffer of `count` entries, replacing the record with the
    // same NAME. 0 on success.
    virtual int32_t Write(const char* buffer, int32_t count) = 0;  // 6

protected:
    ~HostSettingsStore() = default;
};

class HostDatabase {
public:
    virtual void Reserved0() {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual HostSettingsStore* SettingsStore() = 0;   // 3
    virtual HostTable* Units() = 0;                   // 4
    virtual HostTable* Items() = 0;                   // 5
    virtual HostTable* Targets() = 0;                 // 6
    virtual HostTable* Values() = 0;                  // 7
    virtual HostTable* Groups() = 0;                  // 8
    virtual HostCategoryTable* UnitCategories() = 0;  // 9
    virtual void Reserved10() {}
    virtual HostCategoryTable* ValueCategories() = 0;   // 11
    virtual HostCategoryTable* GroupCategories() = 0;   // 12
    virtual HostCategoryTable* TargetCategories() = 0;  // 13
    virtual void Reserved14() {}
    virtual void Reserved15() {}
    virtual void Reserved16() {}
    virtual void Reserved17() {}
    virtual void Reserved18() {}
    virtual void Reserved19() {}
    virtual void Reserved20() {}
    virtual void Reserved21() {}
    virtual void Reserved22() {}
    virtual void Reserved23() {}
    virtual void Reserved24() {}
    virtual void Reserved25() {}
    virtual int32_t SecondsToDate(int32_t seconds, HostDateTime* out) = 0;        // 26
    virtual int32_t DateToSeconds(int32_t* seconds, const HostDateTime* in) = 0;  // 27

protected:
    ~HostDatabase() = default;
};

// The colour provider: operation 0 takes a colour number (3, 4, 5, 7, 8) and
// returns a colour 0x00BBGGRR, or -1 for "use the system colour".
class HostColorProvider {
public:
    virtual int32_t GetColor(int32_t number) = 0;  // 0

protected:
    ~HostColorProvider() = default;
};

}  // namespace orv
