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

TEST(HostInterfaceSlots, Database) {
    EXPECT_EQ(SlotOf(&HostDatabase::SettingsStore), 3);
    EXPECT_EQ(SlotOf(&HostDatabase::Units), 4);
    EXPECT_EQ(SlotOf(&HostDatabase::Items), 5);
    EXPECT_EQ(SlotOf(&HostDatabase::Targets), 6);
    EXPECT_EQ(SlotOf(&HostDatabase::Values), 7);
    EXPECT_EQ(SlotOf(&HostDatabase::Groups), 8);
    EXPECT_EQ(SlotOf(&HostDatabase::UnitCategories), 9);
    EXPECT_EQ(SlotOf(&HostDatabase::ValueCategories), 11);
    EXPECT_EQ(SlotOf(&HostDatabase::GroupCategories), 12);
    EXPECT_EQ(SlotOf(&HostDatabase::TargetCategories), 13);
    EXPECT_EQ(SlotOf(&HostDatabase::SecondsToDate), 26);
    EXPECT_EQ(SlotOf(&HostDatabase::DateToSeconds), 27);
}

TEST(HostInterfaceSlots, Tables) {
    EXPECT_EQ(SlotOf(&HostTable::MoveFirst), 3);
    EXPECT_EQ(SlotOf(&HostTable::MoveNext), 4);
    EXPECT_EQ(SlotOf(&HostTable::IsEnd), 5);
    EXPECT_EQ(SlotOf(&HostTable::Current), 7);
    EXPECT_EQ(SlotOf(&HostTable::Add), 9);
    EXPECT_EQ(SlotOf(&HostTable::Find), 12);
    EXPECT_EQ(SlotOf(&HostTable::MaxId), 29);
    EXPECT_EQ(SlotOf(&HostTable::MaxIndex), 30);

    EXPECT_EQ(SlotOf(&HostCategoryTable::MoveFirst), 11);
    EXPECT_EQ(SlotOf(&HostCategoryTable::MoveNext), 12);
    EXPECT_EQ(SlotOf(&HostCategoryTable::IsEnd), 13);
    EXPECT_EQ(SlotOf(&HostCategoryTable::Current), 15);
}

TEST(HostInterfaceSlots, RecordsAndFacet) {
    EXPECT_EQ(SlotOf(&HostRecordOps::IsSkipped), 3);
    EXPECT_EQ(SlotOf(&HostRecordOps::Commit), 7);
    EXPECT_EQ(SlotOf(&HostRecordOps::Delete), 8);
    EXPECT_EQ(SlotOf(&HostRecordOps::AfterAdd), 9);
    EXPECT_EQ(SlotOf(&HostRecordOps::SetCategory), 11);
    EXPECT_EQ(SlotOf(&HostRecordOps::GetCategory), 12);
    EXPECT_EQ(SlotOf(&HostRecordOps::GetProperty), 18);
    EXPECT_EQ(SlotOf(&HostRecordOps::SetProperty), 19);

    EXPECT_EQ(SlotOf(&HostNamed::GetId), 1);
    EXPECT_EQ(SlotOf(&HostNamed::GetIndex), 2);
    EXPECT_EQ(SlotOf(&HostNamed::GetName), 5);
    EXPECT_EQ(SlotOf(&HostNamed::SetName), 6);

    EXPECT_EQ(SlotOf(&HostCategoryOps::AfterRename), 3);

    // The record operations are the primary table of a record object; the
    // facet is the second interface behind it.
    EXPECT_EQ(SlotOf(static_cast<int32_t (HostRecord::*)()>(&HostRecord::IsSkipped)), 3);
}

TEST(HostInterfaceSlots, SettingsAndColours) {
    EXPECT_EQ(SlotOf(&HostSettingsStore::Find), 0);
    EXPECT_EQ(SlotOf(&HostSettingsStore::Write), 6);
    EXPECT_EQ(SlotOf(&HostSettingsRecord::Read), 13);
    EXPECT_EQ(SlotOf(&HostColorProvider::GetColor), 0);
}

}  // namespace
}  // namespace orv
