#pragma once
// The module's view preferences: how charts are drawn, which tab was shown
// last, and the period and target last chosen on the Charts and Tables pages.
//
// The six chart display settings live in the per-user key-value store; the
// other seven in the settings record "ORVORV" of the host database.

#include <array>
#include <cstdint>

#include "data/HostInterfaces.h"
#include "platform/KeyValueStore.h"

namespace orv {

// The six settings edited by Chart Preferences.
struct ChartDisplaySettings {
    int32_t chartScale = 1;           // ORVCHARTDOSCALE: scale depends on the values
    int32_t showGrid = 1;             // ORVSHOWGRID: draw the vertical grid
    int32_t gridStep = 10;            // ORVGRIDSTEP: 5, 10, 15, 20 or 25
    int32_t horizontalGrid = 1;       // ORVISHORGRID: draw the horizontal grid
    int32_t horizontalGridStep = 10;  // ORVHORGRIDSTEP: 1, 2, 4, 5, 7 or 10
    int32_t averageLine = 1;          // ORVCHARTSHOWAVGLINE: draw the average line

    bool operator==(const ChartDisplaySettings&) const = default;
};

// What the Charts or the Tables page restores and stores.
struct PageSelection {
    int32_t period = 0;    // period combo box index
    int32_t seconds = 0;   // the picked date in host seconds
    int32_t targetId = 0;  // the chosen target's id

    bool operator==(const PageSelection&) const = default;
};

class ViewSettings {
public:
    // Name and ID of the settings record; the ID is "OROR" as an int32 with
    // its first character in the most significant byte.
    static constexpr const char* kRecordName = "ORVORV";
    static constexpr int32_t kRecordId = ('O' << 24) | ('R' << 16) | ('O' << 8) | 'R';
    // Where the display settings live in the key-value store.
    static constexpr const char* kStorePath = "Software\\OrvMain\\ORV\\ORVDesktop\\Base\\General";
    static constexpr const char* kStoreSection = "ORV";

    // The thirteen keys, in field order: six in the key-value store, then
    // seven in the settings record.
    static constexpr std::array<const char*, 13> kKeys = {
        "ORVCHARTDOSCALE",     "ORVSHOWGRID",      "ORVGRIDSTEP",      "ORVISHORGRID",     "ORVHORGRIDSTEP",
        "ORVCHARTSHOWAVGLINE", "ORVVIEWCURPAGE",   "ORVCHARTSNPERIOD", "ORVCHARTSSECONDS", "ORVCHARTSTARGETID",
        "ORVTABLESNPERIOD",    "ORVTABLESSECONDS", "ORVTABLESTARGETID"};
    static constexpr std::size_t kStoreKeyCount = 6;

    explicit ViewSettings(KeyValueStore* store = nullptr) : store_(store) {}
    ViewSettings(const ViewSettings&) = default;
    ViewSettings& operator=(const ViewSettings&) = default;

    // Virtual operations, in slot order.
    //
    // Reads the settings record and, only when it was read, the display
    // settings. A missing store, record or value keeps the field as it is.
    virtual void Load(HostDatabase* db);
    // Writes the display settings to the key-value store and the record
    // (NAME, ID and the seven record keys) to the settings store. The result
    // is the record encoder's: 0, or -1/-2 when the record could not be
    // encoded; 0 without a settings store.
    virtual int32_t Save(HostDatabase* db);
    virtual ~ViewSettings() = default;

    void SetKeyValueStore(KeyValueStore* store) { store_ = store; }
    KeyValueStore* keyValueStore() const { return store_; }

    // The fields, in key order.
    ChartDisplaySettings display;
    int32_t currentPage = 0;  // ORVVIEWCURPAGE: index of the selected tab
    PageSelection charts;     // ORVCHARTSNPERIOD, ORVCHARTSSECONDS, ORVCHARTSTARGETID
    PageSelection tables;     // ORVTABLESNPERIOD, ORVTABLESSECONDS, ORVTABLESTARGETID

private:
    // The field of kKeys[i].
    int32_t& Field(std::size_t i);

    KeyValueStore* store_;
};

static_assert(ViewSettings::kRecordId == 1330794322);

}  // namespace orv
