#pragma once
// A per-user store of named 32-bit values and texts, laid out like the
// registry: a path of keys ("Software\\OrvMain\\..."), a section key under
// it, and named values in the section. There is a user scope, which is the
// only one written, and a system scope, which is only read.
//
// The module's own settings follow one rule on top (ReadPreferred,
// MarkWrittenHere): they are read from the user scope only once that scope
// has been written by the module, marked by "written_here" in section
// "inner"; until then they are read from the system scope.

#include <cstdint>
#include <optional>
#include <string>

namespace orv {

enum class KeyScope { User, System };

class KeyValueStore {
public:
    static constexpr const char* kMarkSection = "inner";
    static constexpr const char* kMarkName = "written_here";

    virtual ~KeyValueStore() = default;

    // A value of `name` in `section` under `path`; nullopt when it is missing
    // or is not a 32-bit number. Path parts are separated by '\\'.
    virtual std::optional<int32_t> ReadInt(KeyScope scope, const std::string& path, const std::string& section,
                                           const std::string& name) = 0;
    // Writes to the user scope. False when the value could not be stored.
    virtual bool WriteInt(const std::string& path, const std::string& section, const std::string& name,
                          int32_t value) = 0;
    virtual std::optional<std::string> ReadText(KeyScope scope, const std::string& path, const std::string& section,
                                                const std::string& name) = 0;
    virtual bool WriteText(const std::string& path, const std::string& section, const std::string& name,
                           const std::string& value) = 0;

    // True when the user scope of `path` has been written by the module.
    bool IsWrittenHere(const std::string& path) {
        const std::optional<int32_t> mark = ReadInt(KeyScope::User, path, kMarkSection, kMarkName);
        return mark && *mark != 0;
    }

    // Reads from the user scope once it has been written by the module,
    // otherwise from the system scope. There is no fallback per value: a
    // value missing from the chosen scope is missing.
    std::optional<int32_t> ReadPreferred(const std::string& path, const std::string& section, const std::string& name) {
        const KeyScope scope = IsWrittenHere(path) ? KeyScope::User : KeyScope::System;
        return ReadInt(scope, path, section, name);
    }

    // Marks the user scope of `path` as written; done before every save.
    bool MarkWrittenHere(const std::string& path) { return WriteInt(path, kMarkSection, kMarkName, 1); }
};

}  // namespace orv
