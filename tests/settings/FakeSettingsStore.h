#pragma once
// An in-memory settings store: records by NAME, read and written through
// RecordBuffers as the host does. Tests can make a read fail or report a
// bogus entry count.

#include <map>
#include <memory>
#include <string>

#include "data/HostInterfaces.h"
#include "data/RecordBuffer.h"

namespace orv::test {

class FakeSettingsRecord : public HostSettingsRecord {
public:
    FieldMap fields;
    int32_t readResult = 0;
    int32_t reportedCount = -1;  // when >= 0, the count handed back instead of the real one

    int32_t Read(char* buffer, int32_t* count) override {
        if (readResult != 0) return readResult;
        const int32_t result = RecordBuffer::Encode(&fields, buffer, count);
        if (result == 0 && reportedCount >= 0) *count = reportedCount;
        return result;
    }
};

class FakeSettingsStore : public HostSettingsStore {
public:
    std::map<std::string, std::unique_ptr<FakeSettingsRecord>> records;

    FakeSettingsRecord& Put(const std::string& name, FieldMap fields) {
        auto& record = records[name];
        if (!record) record = std::make_unique<FakeSettingsRecord>();
        record->fields = std::move(fields);
        record->fields["NAME"] = name;
        return *record;
    }

    HostSettingsRecord* Find(const char* name) override {
        const auto it = records.find(name ? name : "");
        return it == records.end() ? nullptr : it->second.get();
    }

    int32_t Write(const char* buffer, int32_t count) override {
        FieldMap fields;
        RecordBuffer::Decode(&fields, buffer, count);
        const std::string name = fields["NAME"];
        Put(name, std::move(fields));
        return 0;
    }
};

}  // namespace orv::test
