#pragma once
// An in-memory key-value store that logs every write in order, as
// "section/name=value". Writes can be made to fail.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/KeyValueStore.h"

namespace orv::test {

class RecordingKeyValueStore : public KeyValueStore {
public:
    using Key = std::tuple<KeyScope, std::string, std::string, std::string>;
    std::map<Key, std::string> values;
    std::vector<std::string> writes;
    bool failWrites = false;

    void Set(KeyScope scope, const std::string& path, const std::string& section, const std::string& name,
             int32_t value) {
        values[{scope, path, section, name}] = std::to_string(value);
    }

    std::optional<int32_t> ReadInt(KeyScope scope, const std::string& path, const std::string& section,
                                   const std::string& name) override {
        const auto text = ReadText(scope, path, section, name);
        if (!text) return std::nullopt;
        return std::stoi(*text);
    }
    bool WriteInt(const std::string& path, const std::string& section, const std::string& name,
                  int32_t value) override {
        return WriteText(path, section, name, std::to_string(value));
    }
    std::optional<std::string> ReadText(KeyScope scope, const std::string& path, const std::string& section,
                                        const std::string& name) override {
        const auto it = values.find({scope, path, section, name});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    bool WriteText(const std::string& path, const std::string& section, const std::string& name,
                   const std::string& value) override {
        writes.push_back(section + "/" + name + "=" + value);
        if (failWrites) return false;
        values[{KeyScope::User, path, section, name}] = value;
        return true;
    }
};

}  // namespace orv::test
