#pragma once
// Host extensions whose answers a test sets: change versions per kind, a
// read-only flag and the database's path; they record how the module began
// and ended its changes (the host below them undoes nothing).

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "data/HostExtensions.h"

namespace orv::test {

class FakeExtensions final : public HostExtensions {
public:
    uint64_t ChangeVersion(int32_t kind) override {
        return kind >= 0 && kind < static_cast<int32_t>(versions.size()) ? versions[static_cast<std::size_t>(kind)] : 0;
    }
    int32_t BeginChange() override { return ++begins, 0; }
    int32_t EndChange(int32_t commit) override { return ends.push_back(commit), 0; }
    int32_t IsReadOnly() override { return readOnly ? 1 : 0; }
    int32_t DatabasePath(char* buffer, int32_t capacity) override {
        if (static_cast<std::size_t>(capacity) <= path.size()) return -1;
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return static_cast<int32_t>(path.size());
    }
    void Bump(int32_t kind) { ++versions[static_cast<std::size_t>(kind)]; }

    std::array<uint64_t, 7> versions{};  // 0: not counted
    int begins = 0;
    std::vector<int32_t> ends;
    bool readOnly = false;
    std::string path;
};

}  // namespace orv::test
