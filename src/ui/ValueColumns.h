#pragma once
// The column titles of the grids that list single values: the Values page's
// grid and the Tables page's details grid show a value in the same columns.

namespace orv {

struct ValueColumns {
    static constexpr const char* kDateColumn = "Date";
    static constexpr const char* kTimeColumn = "Time";
    static constexpr const char* kItemColumn = "Item Name";
    static constexpr const char* kValueColumn = "Value";
    static constexpr const char* kUnitColumn = "Unit Name";
    static constexpr const char* kNotesColumn = "Notes";
};

}  // namespace orv
