#include "data/NameList.h"

namespace orv {

void NameList::Clear() {
    idByPosition_.clear();
    positionById_.clear();
    indexById_.clear();
    nameById_.clear();
}

void NameList::Append(int32_t id, int32_t index, std::string name) {
    // A repeated id keeps its first position, as a map insert would.
    if (!positionById_.emplace(id, size()).second) return;
    idByPosition_.push_back(id);
    indexById_[id] = index;
    nameById_[id] = std::move(name);
}

int32_t NameList::PositionOf(int32_t id) const {
    const auto it = positionById_.find(id);
    return it == positionById_.end() ? -1 : it->second;
}

int32_t NameList::IdAt(int32_t position) const {
    return position >= 0 && position < size() ? idByPosition_[static_cast<std::size_t>(position)] : 0;
}

int32_t NameList::IndexOf(int32_t id) const {
    const auto it = indexById_.find(id);
    return it == indexById_.end() ? 0 : it->second;
}

const std::string& NameList::NameOf(int32_t id) const {
    static const std::string kEmpty;
    const auto it = nameById_.find(id);
    return it == nameById_.end() ? kEmpty : it->second;
}

void NameList::Rename(int32_t id, std::string name) {
    const auto it = nameById_.find(id);
    if (it != nameById_.end()) it->second = std::move(name);
}

}  // namespace orv
