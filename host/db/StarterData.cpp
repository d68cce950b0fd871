#include "host/db/StarterData.h"

#include "data/FieldText.h"

namespace orv::hostdb::starter {
namespace {

FieldMap Unit(int32_t id, const char* name, int32_t base, double factor) {
    return {{"ID", IntText(id)},        {"NAME", name},       {"INDEX", IntText(id)},
            {"PUNITID", IntText(base)}, {"PCATEGORYID", "0"}, {"PVALUE", RealText(factor)},
            {"CREATORID", "0"}};
}

FieldMap Target(int32_t id, const char* name, int32_t unit, int32_t type) {
    return {{"ID", IntText(id)},     {"NAME", name},       {"INDEX", IntText(id)}, {"UNITID", IntText(unit)},
            {"TYPE", IntText(type)}, {"PCATEGORYID", "0"}, {"CREATORID", "0"}};
}

FieldMap Group(int32_t id, const char* name, int32_t unit, const std::vector<int32_t>& targets) {
    return {{"ID", IntText(id)},
            {"NAME", name},
            {"PARENTID", "0"},
            {"COUNT", IntText(static_cast<int64_t>(targets.size()))},
            {"UNITID", IntText(unit)},
            {"GROUPATTRS", "0"},
            {"PCATEGORYID", "0"},
            {"CREATORID", "0"},
            {"TYPE", "0"},
            {"TARGETS", IntListText(targets)}};
}

FieldMap Item(int32_t id, const char* name, int32_t group, float defaultValue, const std::vector<float>& amounts) {
    return {{"ID", IntText(id)},
            {"NAME", name},
            {"MATTERID", IntText(group)},
            {"COUNT", IntText(static_cast<int64_t>(amounts.size()))},
            {"DEFAULTVALUE", RealText(defaultValue)},
            {"VALUES", RealListText(amounts)}};
}

}  // namespace

const std::vector<Food>& FoodItems() {
    // Typical values per gram (carbohydrates, fat and protein in g, energy in
    // kcal) and a usual portion in grams.
    static const std::vector<Food> kFoods = {
        {"White bread", 0.49f, 0.032f, 0.090f, 2.65f, 60},
        {"Wholemeal bread", 0.41f, 0.034f, 0.130f, 2.47f, 60},
        {"Rice, cooked", 0.28f, 0.003f, 0.027f, 1.30f, 150},
        {"Pasta, cooked", 0.31f, 0.009f, 0.058f, 1.58f, 180},
        {"Potatoes, boiled", 0.20f, 0.001f, 0.019f, 0.87f, 200},
        {"Oat flakes", 0.66f, 0.069f, 0.169f, 3.89f, 50},
        {"Milk, semi-skimmed", 0.048f, 0.017f, 0.034f, 0.47f, 250},
        {"Natural yoghurt", 0.047f, 0.033f, 0.035f, 0.61f, 150},
        {"Cheddar cheese", 0.013f, 0.330f, 0.250f, 4.03f, 30},
        {"Egg, boiled", 0.011f, 0.106f, 0.126f, 1.55f, 50},
        {"Chicken breast, cooked", 0.0f, 0.036f, 0.310f, 1.65f, 120},
        {"Salmon, baked", 0.0f, 0.130f, 0.220f, 2.08f, 120},
        {"Carrots", 0.096f, 0.002f, 0.009f, 0.41f, 80},
        {"Green salad", 0.022f, 0.002f, 0.014f, 0.15f, 60},
        {"Apple", 0.14f, 0.002f, 0.003f, 0.52f, 150},
        {"Banana", 0.23f, 0.003f, 0.011f, 0.89f, 120},
        {"Orange juice", 0.104f, 0.002f, 0.007f, 0.45f, 200},
        {"Butter", 0.006f, 0.810f, 0.009f, 7.17f, 10},
    };
    return kFoods;
}

std::vector<std::pair<RecordKind, FieldMap>> StarterRecords() {
    std::vector<std::pair<RecordKind, FieldMap>> records;
    const auto add = [&](RecordKind kind, FieldMap fields) { records.emplace_back(kind, std::move(fields)); };

    // Units: one of a unit equals PVALUE of its base unit.
    add(RecordKind::Unit, Unit(kGram, "g", 0, 1.0));
    add(RecordKind::Unit, Unit(kKilogram, "kg", kGram, 1000.0));
    add(RecordKind::Unit, Unit(kMilligram, "mg", kGram, 0.001));
    add(RecordKind::Unit, Unit(kOunce, "oz", kGram, 28.349523));
    add(RecordKind::Unit, Unit(kMgPerDl, "mg/dL", 0, 1.0));
    add(RecordKind::Unit, Unit(kMmolPerL, "mmol/L", kMgPerDl, 18.016));
    add(RecordKind::Unit, Unit(kKcal, "kcal", 0, 1.0));
    add(RecordKind::Unit, Unit(kKilojoule, "kJ", kKcal, 0.239006));
    add(RecordKind::Unit, Unit(kMillilitre, "mL", 0, 1.0));
    add(RecordKind::Unit, Unit(kLitre, "L", kMillilitre, 1000.0));
    add(RecordKind::Unit, Unit(kPiece, "piece", 0, 1.0));
    add(RecordKind::Unit, Unit(kInsulinUnit, "IU", 0, 1.0));

    // Targets: TYPE 0 sums per day, anything else averages.
    add(RecordKind::Target, Target(kBloodGlucoseTarget, "Blood glucose", kMmolPerL, 1));
    add(RecordKind::Target, Target(kCarbohydratesTarget, "Carbohydrates", kGram, 0));
    add(RecordKind::Target, Target(kFatTarget, "Fat", kGram, 0));
    add(RecordKind::Target, Target(kProteinTarget, "Protein", kGram, 0));
    add(RecordKind::Target, Target(kEnergyTarget, "Energy", kKcal, 0));
    add(RecordKind::Target, Target(kInsulinTarget, "Insulin", kInsulinUnit, 0));

    add(RecordKind::Group, Group(kBloodGlucoseGroup, "Blood glucose", kMmolPerL, {kBloodGlucoseTarget}));
    add(RecordKind::Group,
        Group(kFoodGroup, "Food", kGram, {kCarbohydratesTarget, kFatTarget, kProteinTarget, kEnergyTarget}));
    add(RecordKind::Group, Group(kInsulinGroup, "Insulin", kInsulinUnit, {kInsulinTarget}));

    // A reading counts once towards the glucose average; a dose once towards insulin.
    add(RecordKind::Item, Item(kFasting, "Fasting", kBloodGlucoseGroup, 5.5f, {1.0f}));
    add(RecordKind::Item, Item(kBeforeMeal, "Before meal", kBloodGlucoseGroup, 6.0f, {1.0f}));
    add(RecordKind::Item, Item(kAfterMeal, "After meal", kBloodGlucoseGroup, 7.5f, {1.0f}));
    add(RecordKind::Item, Item(kBedtime, "Bedtime", kBloodGlucoseGroup, 6.5f, {1.0f}));
    add(RecordKind::Item, Item(kRapidInsulin, "Rapid-acting insulin", kInsulinGroup, 6.0f, {1.0f}));
    add(RecordKind::Item, Item(kLongInsulin, "Long-acting insulin", kInsulinGroup, 20.0f, {1.0f}));

    int32_t id = kFirstFood;
    for (const Food& food : FoodItems()) {
        add(RecordKind::Item,
            Item(id++, food.name, kFoodGroup, food.portion, {food.carbohydrates, food.fat, food.protein, food.kcal}));
    }
    return records;
}

}  // namespace orv::hostdb::starter
