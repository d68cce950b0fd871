#pragma once
// Sample databases: the starter structure plus months of generated values
// (glucose readings several times a day, insulin doses, meals of several
// foods), for trying the program out and for benchmarks. The same options and
// seed always give the same database.

#include <cstdint>
#include <string>

namespace orv::hostdb {

struct GenerateOptions {
    // Values to write, ending at `endSeconds`. 0: every value of `days` days.
    int32_t valueCount = 0;
    // Days of values ending on the day of `endSeconds`, when valueCount is 0.
    int32_t days = 130;
    // Items in total. Beyond the starter items, more foods are made up.
    int32_t itemCount = 0;
    uint32_t seed = 1;
    // Host seconds of the last moment a value may have; 0: the current local time.
    int32_t endSeconds = 0;
};

// Writes a new database at `path`, which must not exist or be empty. The file
// is built beside it and moved into place only when complete. False with the
// reason in *error.
bool GenerateDatabase(const std::string& path, const GenerateOptions& options, std::string* error);

// A sample database of a little over four months ending now.
bool WriteDemoDatabase(const std::string& path, std::string* error);

// The current local civil time on the host's time scale.
int32_t CurrentHostSeconds();

}  // namespace orv::hostdb
