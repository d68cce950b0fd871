#pragma once
// A SQLite host database without its starter records, filled through the
// module's own add path, which keeps `cache` loaded as the pages have it.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv::test {

struct TestDatabase {
    explicit TestDatabase(const std::string& path = ":memory:") {
        std::string error;
        db = hostdb::SqliteHostDatabase::Open(path, &error);
        if (!db) {
            ADD_FAILURE() << error;
            return;
        }
        for (RecordKind kind :
             {RecordKind::Value, RecordKind::Item, RecordKind::Group, RecordKind::Target, RecordKind::Unit}) {
            HostTable* table = TableOf(*db, kind);
            std::vector<HostRecord*> records;
            for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) records.push_back(table->Current());
            for (HostRecord* record : records) EXPECT_EQ(record->Delete(1), 0);
        }
    }

    int32_t Add(RecordKind kind, FieldMap fields) {
        int32_t id = 0;
        EXPECT_EQ(AddRecord(*db, cache, kind, std::move(fields), &id), kChangeOk);
        return id;
    }
    int32_t Unit(const std::string& name, int32_t base, float factor) {
        return Add(RecordKind::Unit,
                   {{field::Name, name}, {field::ParentUnitId, IntText(base)}, {field::Factor, RealText(factor)}});
    }
    int32_t Target(const std::string& name, int32_t unit, int32_t type = 0) {
        return Add(RecordKind::Target,
                   {{field::Name, name}, {field::UnitId, IntText(unit)}, {field::Type, IntText(type)}});
    }
    int32_t Group(const std::string& name, const std::vector<int32_t>& targets, int32_t unit, int32_t type = 0) {
        return Add(RecordKind::Group, {{field::Name, name},
                                       {field::Count, IntText(static_cast<int64_t>(targets.size()))},
                                       {field::UnitId, IntText(unit)},
                                       {field::Type, IntText(type)},
                                       {field::Targets, IntListText(targets)}});
    }
    int32_t Item(const std::string& name, int32_t group, const std::vector<float>& amounts) {
        return Add(RecordKind::Item, {{field::Name, name},
                                      {field::MatterId, IntText(group)},
                                      {field::Count, IntText(static_cast<int64_t>(amounts.size()))},
                                      {field::DefaultValue, "1.5"},
                                      {field::Values, RealListText(amounts)}});
    }
    int32_t Value(int32_t item, int32_t group, uint32_t seconds, float value, const std::string& notes = {}) {
        return Add(RecordKind::Value, {{field::Name, notes},
                                       {field::MatterId, IntText(group)},
                                       {field::ItemId, IntText(item)},
                                       {field::Value, RealText(value)},
                                       {field::ItemIndex, "1"},
                                       {field::Seconds, IntText(static_cast<int32_t>(seconds))}});
    }

    std::unique_ptr<hostdb::SqliteHostDatabase> db;
    RecordCache cache;
};

}  // namespace orv::test
