#pragma once
// The structure a new database starts with: units in families, targets,
// groups and their items, and no values. The sample-data generator builds on
// the ids declared here.

#include <cstdint>
#include <utility>
#include <vector>

#include "data/HostInterfaces.h"
#include "data/Records.h"

namespace orv::hostdb::starter {

// Unit ids.
inline constexpr int32_t kGram = 1;
inline constexpr int32_t kKilogram = 2;
inline constexpr int32_t kMilligram = 3;
inline constexpr int32_t kOunce = 4;
inline constexpr int32_t kMgPerDl = 5;
inline constexpr int32_t kMmolPerL = 6;
inline constexpr int32_t kKcal = 7;
inline constexpr int32_t kKilojoule = 8;
inline constexpr int32_t kMillilitre = 9;
inline constexpr int32_t kLitre = 10;
inline constexpr int32_t kPiece = 11;
inline constexpr int32_t kInsulinUnit = 12;

// Target ids.
inline constexpr int32_t kBloodGlucoseTarget = 1;
inline constexpr int32_t kCarbohydratesTarget = 2;
inline constexpr int32_t kFatTarget = 3;
inline constexpr int32_t kProteinTarget = 4;
inline constexpr int32_t kEnergyTarget = 5;
inline constexpr int32_t kInsulinTarget = 6;

// Group ids.
inline constexpr int32_t kBloodGlucoseGroup = 1;
inline constexpr int32_t kFoodGroup = 2;
inline constexpr int32_t kInsulinGroup = 3;

// Item ids of the blood glucose group.
inline constexpr int32_t kFasting = 1;
inline constexpr int32_t kBeforeMeal = 2;
inline constexpr int32_t kAfterMeal = 3;
inline constexpr int32_t kBedtime = 4;
// Item ids of the insulin group.
inline constexpr int32_t kRapidInsulin = 5;
inline constexpr int32_t kLongInsulin = 6;
// Food items follow from this id on, in the order of FoodItems().
inline constexpr int32_t kFirstFood = 7;

// A food's amount of each food target per gram, and a usual portion in grams.
struct Food {
    const char* name;
    float carbohydrates;
    float fat;
    float protein;
    float kcal;
    float portion;
};
const std::vector<Food>& FoodItems();

// Every starter record, in the order it is added (units before the targets
// that use them, groups before their items).
std::vector<std::pair<RecordKind, FieldMap>> StarterRecords();

}  // namespace orv::hostdb::starter
