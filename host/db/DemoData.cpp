#include "host/db/DemoData.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "data/FieldText.h"
#include "host/db/HostCalendar.h"
#include "host/db/SqliteHostDatabase.h"
#include "host/db/StarterData.h"

namespace orv::hostdb {
namespace {

constexpr int32_t kMinute = 60;
constexpr int32_t kHour = 3600;
constexpr int64_t kDay = 86400;

// splitmix64: small, fast and the same on every platform and library, so a
// seed names one database everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Between(double low, double high) { return low + (high - low) * Uniform(); }
    int32_t Int(int32_t low, int32_t high) {  // inclusive
        return low + static_cast<int32_t>(Next() % static_cast<uint64_t>(high - low + 1));
    }
    bool Chance(double p) { return Uniform() < p; }

private:
    uint64_t state_;
};

struct FoodItem {
    int32_t id;
    float carbohydratesPerGram;
    float portion;
};

struct PlannedValue {
    int32_t seconds;  // of the day
    int32_t group;
    int32_t item;
    float amount;
    int32_t note;  // index into kNotes, -1 for none
};

const char* const kNotes[] = {"After a walk", "Felt shaky", "Restaurant", "Sick day", "After sports", "Birthday party"};

// Meals as indexes into the starter foods.
const std::vector<std::vector<int32_t>> kBreakfasts = {{5, 6, 15}, {1, 17, 8, 16}, {0, 17, 9}, {7, 5, 14}};
const std::vector<std::vector<int32_t>> kLunches = {{2, 10, 12}, {3, 11, 13}, {4, 10, 13, 17}, {0, 8, 13, 14}};
const std::vector<std::vector<int32_t>> kDinners = {{1, 17, 8, 13}, {3, 12, 9}, {4, 11, 12}, {2, 10, 13, 7}};
const std::vector<std::vector<int32_t>> kSnacks = {{14}, {15}, {7}, {16}};

const char* const kVariants[] = {"Homemade",   "Organic", "Low-fat", "Wholegrain", "Supermarket",
                                 "Restaurant", "Frozen",  "Light",   "Farmhouse",  "Spiced"};

float RoundTo(double value, double step) { return static_cast<float>(std::round(value / step) * step); }

class DayPlanner {
public:
    DayPlanner(Random& random, const std::vector<FoodItem>& starterFoods, const std::vector<FoodItem>& extraFoods)
        : random_(random), starterFoods_(starterFoods), extraFoods_(extraFoods) {}

    std::vector<PlannedValue> Plan() {
        day_.clear();
        const int32_t wake = 6 * kHour + 30 * kMinute + random_.Int(0, 75) * kMinute;
        Reading(starter::kFasting, wake, random_.Between(4.8, 7.4));
        Meal(kBreakfasts, wake + random_.Int(10, 30) * kMinute, false);

        const int32_t lunch = 12 * kHour + random_.Int(0, 90) * kMinute;
        Meal(kLunches, lunch, true);
        if (random_.Chance(0.5)) Meal(kSnacks, 15 * kHour + 30 * kMinute + random_.Int(0, 60) * kMinute, false);
        const int32_t dinner = 18 * kHour + 30 * kMinute + random_.Int(0, 75) * kMinute;
        Meal(kDinners, dinner, true);

        const int32_t bedtime = 22 * kHour + random_.Int(0, 75) * kMinute;
        Reading(starter::kBedtime, bedtime, random_.Between(5.5, 9.0));
        Add(starter::kInsulinGroup, starter::kLongInsulin, bedtime + 5 * kMinute,
            static_cast<float>(random_.Int(18, 22)));

        std::stable_sort(day_.begin(), day_.end(),
                         [](const PlannedValue& a, const PlannedValue& b) { return a.seconds < b.seconds; });
        return day_;
    }

private:
    void Add(int32_t group, int32_t item, int32_t seconds, float amount) {
        const int32_t note = random_.Chance(0.03) ? random_.Int(0, static_cast<int32_t>(std::size(kNotes)) - 1) : -1;
        day_.push_back({std::min<int32_t>(seconds, kDay - 1), group, item, amount, note});
    }

    void Reading(int32_t item, int32_t seconds, double mmol) {
        Add(starter::kBloodGlucoseGroup, item, seconds, RoundTo(std::clamp(mmol, 3.2, 15.0), 0.1));
    }

    // A meal of several foods; main meals come with a glucose reading before
    // and, mostly, two hours after, and an insulin dose matched to the
    // carbohydrates.
    void Meal(const std::vector<std::vector<int32_t>>& menus, int32_t at, bool mainMeal) {
        const auto& menu = menus[static_cast<std::size_t>(random_.Int(0, static_cast<int32_t>(menus.size()) - 1))];
        double carbohydrates = 0;
        std::vector<std::pair<int32_t, float>> portions;
        for (const int32_t index : menu) {
            const FoodItem* food = &starterFoods_[static_cast<std::size_t>(index)];
            if (!extraFoods_.empty() && random_.Chance(0.25)) {
                food = &extraFoods_[static_cast<std::size_t>(
                    random_.Int(0, static_cast<int32_t>(extraFoods_.size()) - 1))];
            }
            const float grams = std::max(5.0f, RoundTo(food->portion * random_.Between(0.75, 1.3), 5.0));
            carbohydrates += grams * food->carbohydratesPerGram;
            portions.emplace_back(food->id, grams);
        }
        if (mainMeal) Reading(starter::kBeforeMeal, at - 10 * kMinute, random_.Between(4.8, 8.5));
        if (mainMeal || carbohydrates > 30) {
            const double dose = std::max(1.0, std::round(carbohydrates / 10.0 * random_.Between(0.9, 1.2)));
            Add(starter::kInsulinGroup, starter::kRapidInsulin, at - 5 * kMinute, static_cast<float>(dose));
        }
        for (const auto& [item, grams] : portions) Add(starter::kFoodGroup, item, at, grams);
        if (mainMeal && random_.Chance(0.8)) {
            Reading(starter::kAfterMeal, at + 2 * kHour + random_.Int(-15, 15) * kMinute,
                    5.5 + carbohydrates / 30.0 + random_.Between(-1.0, 1.5));
        }
    }

    Random& random_;
    const std::vector<FoodItem>& starterFoods_;
    const std::vector<FoodItem>& extraFoods_;
    std::vector<PlannedValue> day_;
};

bool FileSize(const std::string& path, off_t* size) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    *size = info.st_size;
    return true;
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// Moves the finished file to `path` without replacing anything but an empty file.
bool MoveIntoPlace(const std::string& built, const std::string& path, std::string* error) {
    off_t size = 0;
    if (FileSize(path, &size)) {
        if (size != 0) return Fail(error, "'" + path + "' already exists; it was left unchanged.");
        if (::rename(built.c_str(), path.c_str()) != 0) {
            return Fail(error, "Cannot write '" + path + "': " + std::strerror(errno) + ".");
        }
        return true;
    }
    // link() refuses to replace a file that appeared meanwhile.
    if (::link(built.c_str(), path.c_str()) != 0) {
        return Fail(error, "Cannot write '" + path + "': " + std::strerror(errno) + ".");
    }
    ::unlink(built.c_str());
    return true;
}

void RemoveBuilt(const std::string& built) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((built + suffix).c_str());
}

}  // namespace

int32_t CurrentHostSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    HostDateTime date;
    date.year = static_cast<uint16_t>(local.tm_year + 1900);
    date.month = static_cast<uint16_t>(local.tm_mon + 1);
    date.day = static_cast<uint16_t>(local.tm_mday);
    date.hour = static_cast<uint16_t>(local.tm_hour);
    date.minute = static_cast<uint16_t>(local.tm_min);
    date.second = static_cast<uint16_t>(std::min(local.tm_sec, 59));  // no leap second on the host scale
    int32_t seconds = 0;
    return HostDateToSeconds(&seconds, &date) == 0 ? seconds : 0;
}

bool GenerateDatabase(const std::string& path, const GenerateOptions& options, std::string* error) {
    if (path.empty() || path == ":memory:") return Fail(error, "A sample database needs a file.");
    if (options.valueCount < 0 || options.days < 0 || options.itemCount < 0) {
        return Fail(error, "Negative counts make no sample database.");
    }
    // A value records its item's INDEX (the item id) in two bytes.
    if (options.itemCount > 0xFFFF) return Fail(error, "At most 65535 items fit a sample database.");
    off_t size = 0;
    if (FileSize(path, &size) && size != 0) return Fail(error, "'" + path + "' already exists; it was left unchanged.");
    if (FileSize(path + "-wal", &size) && size != 0) {
        return Fail(error, "'" + path + "-wal' is in the way: it holds changes of another database.");
    }

    const std::string built = path + ".building-" + std::to_string(::getpid());
    RemoveBuilt(built);
    {
        auto db = SqliteHostDatabase::Open(built, error);
        if (!db) return false;
        SqliteHostDatabase::Batch batch(*db);
        if (!batch.Began()) {
            RemoveBuilt(built);
            return Fail(error, "Cannot write '" + built + "'.");
        }
        Random random(options.seed);

        // Foods of the starter structure, then made-up ones up to itemCount.
        std::vector<FoodItem> starterFoods;
        int32_t nextItem = starter::kFirstFood;
        for (const starter::Food& food : starter::FoodItems()) {
            starterFoods.push_back({nextItem++, food.carbohydrates, food.portion});
        }
        std::vector<FoodItem> extraFoods;
        const auto& bases = starter::FoodItems();
        for (int32_t n = 0; nextItem <= options.itemCount; ++n) {
            const starter::Food& base = bases[static_cast<std::size_t>(n) % bases.size()];
            const std::size_t round = static_cast<std::size_t>(n) / bases.size();
            std::string name = std::string(kVariants[round % std::size(kVariants)]) + " " + base.name;
            name[name.find(' ') + 1] = static_cast<char>(std::tolower(static_cast<unsigned char>(base.name[0])));
            if (round >= std::size(kVariants)) name += " " + std::to_string(round / std::size(kVariants) + 1);
            const auto jitter = [&](float v) { return RoundTo(v * random.Between(0.85, 1.15), 0.001); };
            const FoodItem food{nextItem, jitter(base.carbohydrates), base.portion};
            const FieldMap fields = {{"ID", IntText(nextItem)},
                                     {"NAME", name},
                                     {"MATTERID", IntText(starter::kFoodGroup)},
                                     {"COUNT", "4"},
                                     {"DEFAULTVALUE", RealText(base.portion)},
                                     {"VALUES", RealListText({food.carbohydratesPerGram, jitter(base.fat),
                                                              jitter(base.protein), jitter(base.kcal)})}};
            if (batch.Add(RecordKind::Item, fields) != kOk) {
                RemoveBuilt(built);
                return Fail(error, "Cannot add the item '" + name + "'.");
            }
            extraFoods.push_back(food);
            ++nextItem;
        }

        // Plan the days backwards from the end, so the values end "now", then
        // write them oldest first: host order is the order of entry.
        const int64_t end = static_cast<uint32_t>(options.endSeconds ? options.endSeconds : CurrentHostSeconds());
        const int64_t endDay = end / kDay;
        DayPlanner planner(random, starterFoods, extraFoods);
        std::vector<std::pair<int64_t, std::vector<PlannedValue>>> days;
        int64_t total = 0;
        for (int64_t day = endDay; day >= 0; --day) {
            if (options.valueCount == 0 && static_cast<int64_t>(days.size()) >= options.days) break;
            if (options.valueCount > 0 && total >= options.valueCount) break;
            std::vector<PlannedValue> planned = planner.Plan();
            if (day == endDay) {
                const int32_t endTime = static_cast<int32_t>(end % kDay);
                std::erase_if(planned, [endTime](const PlannedValue& v) { return v.seconds > endTime; });
            }
            if (options.valueCount > 0 && total + static_cast<int64_t>(planned.size()) > options.valueCount) {
                // Keep the latest values of the earliest day.
                planned.erase(planned.begin(), planned.end() - (options.valueCount - total));
            }
            total += static_cast<int64_t>(planned.size());
            days.emplace_back(day, std::move(planned));
        }

        int32_t id = 0;
        FieldMap fields = {{"CREATORID", "0"}, {"PCATEGORYID", "0"}};
        for (auto day = days.rbegin(); day != days.rend(); ++day) {
            for (const PlannedValue& v : day->second) {
                ++id;
                fields["ID"] = IntText(id);
                fields["INDEX"] = IntText(id);
                fields["NAME"] = v.note >= 0 ? kNotes[v.note] : "";
                fields["MATTERID"] = IntText(v.group);
                fields["ITEMID"] = IntText(v.item);
                fields["ITEMINDEX"] = IntText(v.item);  // items are sorted by id
                fields["VALUE"] = RealText(v.amount);
                fields["SECONDS"] = IntText(static_cast<int32_t>(static_cast<uint32_t>(day->first * kDay + v.seconds)));
                if (batch.Add(RecordKind::Value, fields) != kOk) {
                    RemoveBuilt(built);
                    return Fail(error, "Cannot add the generated values.");
                }
            }
        }
        std::string detail;
        if (!batch.Commit(&detail)) {
            RemoveBuilt(built);
            return Fail(error, "Cannot write '" + built + "': " + detail + ".");
        }
    }  // closing the database folds the journal into the file
    if (!MoveIntoPlace(built, path, error)) {
        RemoveBuilt(built);
        return false;
    }
    RemoveBuilt(built);
    return true;
}

bool WriteDemoDatabase(const std::string& path, std::string* error) {
    GenerateOptions options;
    options.days = 130;
    options.seed = 20240229;
    return GenerateDatabase(path, options, error);
}

}  // namespace orv::hostdb
