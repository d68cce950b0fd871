#include "settings/ViewSettings.h"

#include "data/FieldText.h"
#include "data/RecordBuffer.h"

namespace orv {
namespace {

// The order in which the display settings are written (indexes of kKeys).
constexpr std::array<std::size_t, 6> kStoreWriteOrder = {0, 5, 1, 2, 3, 4};

}  // namespace

int32_t& ViewSettings::Field(std::size_t i) {
    switch (i) {
    case 0: return display.chartScale;
    case 1: return display.showGrid;
    case 2: return display.gridStep;
    case 3: return display.horizontalGrid;
    case 4: return display.horizontalGridStep;
    case 5: return display.averageLine;
    case 6: return currentPage;
    case 7: return charts.period;
    case 8: return charts.seconds;
    case 9: return charts.targetId;
    case 10: return tables.period;
    case 11: return tables.seconds;
    default: return tables.targetId;
    }
}

void ViewSettings::Load(HostDatabase* db) {
    if (!db) return;
    HostSettingsStore* settingsStore = db->SettingsStore();
    if (!settingsStore) return;
    HostSettingsRecord* record = settingsStore->Find(kRecordName);
    if (!record) return;

    RecordBuffer buffer(RecordBuffer::kDefaultEntries);
    int32_t count = buffer.capacity();
    if (record->Read(buffer.data(), &count) != 0) return;
    // Never trust a count beyond the entries offered.
    if (count < 0) count = 0;
    if (count > buffer.capacity()) count = buffer.capacity();
    FieldMap fields;
    RecordBuffer::Decode(&fields, buffer.data(), count);

    if (store_) {
        for (std::size_t i = 0; i < kStoreKeyCount; ++i) {
            if (const auto value = store_->ReadPreferred(kStorePath, kStoreSection, kKeys[i])) Field(i) = *value;
        }
    }
    for (std::size_t i = kStoreKeyCount; i < kKeys.size(); ++i) {
        const auto it = fields.find(kKeys[i]);
        if (it != fields.end()) Field(i) = LeadingInt(it->second);
    }
}

int32_t ViewSettings::Save(HostDatabase* db) {
    HostSettingsStore* settingsStore = db ? db->SettingsStore() : nullptr;

    FieldMap fields;
    fields["NAME"] = kRecordName;
    fields["ID"] = IntText(kRecordId);
    for (std::size_t i = kStoreKeyCount; i < kKeys.size(); ++i) fields[kKeys[i]] = IntText(Field(i));

    // Store failures are not fatal: the record below is written regardless.
    if (store_) {
        store_->MarkWrittenHere(kStorePath);
        for (const std::size_t i : kStoreWriteOrder) store_->WriteInt(kStorePath, kStoreSection, kKeys[i], Field(i));
    }

    if (!settingsStore) return 0;
    RecordBuffer buffer(RecordBuffer::kDefaultEntries);
    int32_t count = buffer.capacity();
    const int32_t result = buffer.Encode(fields, &count);
    if (result == 0) settingsStore->Write(buffer.data(), count);
    return result;
}

}  // namespace orv
