// Proves that every operation of the host interfaces sits at its slot in the
// virtual table. Under the Itanium C++ ABI a pointer to a virtual member
// function holds 1 + the byte offset of its entry in the virtual table.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "data/HostInterfaces.h"

namespace orv {
namespace {

template <typename Method>
std::ptrdiff_t SlotOf(Method method) {
    struct Raw {
        std::ptrdiff_t ptr;
        std::ptrdiff_t adj;
    } raw{};
    static_assert(sizeof(Method) == sizeof(Raw));
    std::memcpy(&raw, &method, sizeof raw);
    EXPECT_EQ(raw.ptr % 2, 1) << "not a virtual function";
    return (raw.ptr - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

struct Slot {
    const char* name;
    std::ptrdiff_t actual;
    std::ptrdiff_t expected;
};
#define ORV_SLOT(method, slot) \
    Slot { #method, SlotOf(&method), slot }

TEST(HostInterfaceSlots, EveryOperationSitsAtItsSlot) {
    const Slot slots[] = {
        ORV_SLOT(HostDatabase::SettingsStore, 3), ORV_SLOT(HostDatabase::Units, 4), ORV_SLOT(HostDatabase::Items, 5),
        ORV_SLOT(HostDatabase::Targets, 6), ORV_SLOT(HostDatabase::Values, 7), ORV_SLOT(HostDatabase::Groups, 8),
        ORV_SLOT(HostDatabase::UnitCategories, 9), ORV_SLOT(HostDatabase::ValueCategories, 11),
        ORV_SLOT(HostDatabase::GroupCategories, 12), ORV_SLOT(HostDatabase::TargetCategories, 13),
        ORV_SLOT(HostDatabase::SecondsToDate, 26), ORV_SLOT(HostDatabase::DateToSeconds, 27),
        ORV_SLOT(HostTable::MoveFirst, 3), ORV_SLOT(HostTable::MoveNext, 4), ORV_SLOT(HostTable::IsEnd, 5),
        ORV_SLOT(HostTable::Current, 7), ORV_SLOT(HostTable::Add, 9), ORV_SLOT(HostTable::Find, 12),
        ORV_SLOT(HostTable::MaxId, 29), ORV_SLOT(HostTable::MaxIndex, 30), ORV_SLOT(HostCategoryTable::MoveFirst, 11),
        ORV_SLOT(HostCategoryTable::MoveNext, 12), ORV_SLOT(HostCategoryTable::IsEnd, 13),
        ORV_SLOT(HostCategoryTable::Current, 15), ORV_SLOT(HostRecordOps::IsSkipped, 3),
        ORV_SLOT(HostRecordOps::Commit, 7), ORV_SLOT(HostRecordOps::Delete, 8), ORV_SLOT(HostRecordOps::AfterAdd, 9),
        ORV_SLOT(HostRecordOps::SetCategory, 11), ORV_SLOT(HostRecordOps::GetCategory, 12),
        ORV_SLOT(HostRecordOps::GetProperty, 18), ORV_SLOT(HostRecordOps::SetProperty, 19),
        ORV_SLOT(HostNamed::GetId, 1), ORV_SLOT(HostNamed::GetIndex, 2), ORV_SLOT(HostNamed::GetName, 5),
        ORV_SLOT(HostNamed::SetName, 6), ORV_SLOT(HostCategoryOps::AfterRename, 3),
        ORV_SLOT(HostSettingsStore::Find, 0), ORV_SLOT(HostSettingsStore::Write, 6),
        ORV_SLOT(HostSettingsRecord::Read, 13), ORV_SLOT(HostColorProvider::GetColor, 0),
        // The record operations are the primary table of a record object; the
        // facet is the second interface behind it.
        Slot{"HostRecord::IsSkipped", SlotOf(static_cast<int32_t (HostRecord::*)()>(&HostRecord::IsSkipped)), 3}};
    for (const Slot& slot : slots) EXPECT_EQ(slot.actual, slot.expected) << slot.name;
}

}  // namespace
}  // namespace orv
