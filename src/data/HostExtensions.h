#pragma once
// What a host may offer beyond the numbered interfaces of HostInterfaces.h.
//
// The host hands its extensions to the module through the optional export
// SetHostExtensions, before Init. A host that does not offer them leaves the
// module on its plain behaviour: every reload reads the tables again, and a
// change of many records is written record by record, with the old values
// written back when a later write is refused.

#include <cstdint>

namespace orv {

// Results a host's write operations (Add, SetProperty, SetName, SetCategory,
// Commit, Delete, the settings store's Write) may return besides 0, so that
// the module can tell the user why a write was refused. Any other negative
// result is a plain failure.
namespace hostresult {
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kGone = -5;          // the record was removed meanwhile, e.g. by another program
inline constexpr int32_t kStorageError = -7;  // the file could not be written (disk full, I/O error)
inline constexpr int32_t kBusy = -11;         // another program held the database past the wait
inline constexpr int32_t kReadOnly = -12;     // the database is open read-only
}  // namespace hostresult

// What ChangeVersion counts besides the five record kinds (RecordKind values
// 0 to 4).
namespace changekind {
inline constexpr int32_t kCategories = 5;  // category slots of every kind
inline constexpr int32_t kSettings = 6;    // the settings store
}  // namespace changekind

class HostExtensions {
public:
    // A number that differs from every earlier answer for `kind` (a
    // RecordKind value or a changekind) whenever the host's records of that
    // kind may have changed since: through this host's own writes or through
    // another program's commits. Cheap enough to ask each time a page comes
    // to the front. 0 for a kind the host does not count.
    virtual uint64_t ChangeVersion(int32_t kind) = 0;

    // All-or-nothing changes: the writes between BeginChange and
    // EndChange(1) take effect together, durably when EndChange returns 0.
    // EndChange(0) undoes them all, and so does a failing EndChange(1) or a
    // process that dies before it. Changes do not nest. 0 on success, a
    // hostresult code otherwise.
    virtual int32_t BeginChange() = 0;
    virtual int32_t EndChange(int32_t commit) = 0;

    // Non-zero when the database was opened read-only: every write is then
    // refused with hostresult::kReadOnly.
    virtual int32_t IsReadOnly() = 0;

    // The database file's path (UTF-8, zero-terminated), so that the module
    // can refuse to write a file over it. The path's length, 0 when the
    // database is no file (in memory), or -1 when `capacity` is too small.
    virtual int32_t DatabasePath(char* buffer, int32_t capacity) = 0;

protected:
    ~HostExtensions() = default;
};

// The extensions of the host the module runs in, or null. Set by the
// SetHostExtensions export (and by tests); read by the cache and the change
// operations.
HostExtensions* CurrentHostExtensions();
void SetCurrentHostExtensions(HostExtensions* extensions);

}  // namespace orv
