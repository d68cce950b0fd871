#pragma once
// The key-value store on two INI files through QSettings: one for the user
// scope (read and written) and one for the system scope (read only).
//
// A registry path "A\\B" with section "S" and value "V" is the QSettings key
// "A/B/S/V".

#include <QString>

#include "platform/KeyValueStore.h"

namespace orv {

class QtKeyValueStore : public KeyValueStore {
public:
    // The user's file under $XDG_CONFIG_HOME and the system file under /etc/xdg.
    QtKeyValueStore();
    // Explicit files, for tests and for running against other locations.
    QtKeyValueStore(QString userFile, QString systemFile);

    static QString DefaultUserFile();
    static QString DefaultSystemFile();

    const QString& UserFile() const { return userFile_; }
    const QString& SystemFile() const { return systemFile_; }

    std::optional<int32_t> ReadInt(KeyScope scope, const std::string& path, const std::string& section,
                                   const std::string& name) override;
    bool WriteInt(const std::string& path, const std::string& section, const std::string& name, int32_t value) override;
    std::optional<std::string> ReadText(KeyScope scope, const std::string& path, const std::string& section,
                                        const std::string& name) override;
    bool WriteText(const std::string& path, const std::string& section, const std::string& name,
                   const std::string& value) override;

private:
    const QString& FileOf(KeyScope scope) const { return scope == KeyScope::User ? userFile_ : systemFile_; }

    QString userFile_;
    QString systemFile_;
};

}  // namespace orv
