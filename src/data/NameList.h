#pragma once
// A kind's names in host order: what list boxes and combo boxes are filled
// from. Position is the load position (0, 1, 2, ...), not the INDEX.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

class NameList {
public:
    void Clear();
    void Append(int32_t id, int32_t index, std::string name);

    int32_t size() const { return static_cast<int32_t>(idByPosition_.size()); }
    bool empty() const { return idByPosition_.empty(); }
    // -1 when the id is not listed.
    int32_t PositionOf(int32_t id) const;
    // 0 when the position is out of range.
    int32_t IdAt(int32_t position) const;
    int32_t IndexOf(int32_t id) const;
    // Empty when the id is not listed.
    const std::string& NameOf(int32_t id) const;
    bool Contains(int32_t id) const { return positionById_.count(id) != 0; }
    // Replaces the name of a listed id (categories are renamed in place).
    void Rename(int32_t id, std::string name);
    const std::vector<int32_t>& Ids() const { return idByPosition_; }

private:
    std::vector<int32_t> idByPosition_;
    std::unordered_map<int32_t, int32_t> positionById_;
    std::unordered_map<int32_t, int32_t> indexById_;
    std::unordered_map<int32_t, std::string> nameById_;
};

}  // namespace orv
