#include "platform/QtKeyValueStore.h"

#include <QSettings>
#include <QVariant>

#include <limits>

namespace orv {
namespace {

const char* const kOrganization = "orv";
const char* const kApplication = "registry";

QString SettingsKey(const std::string& path, const std::string& section, const std::string& name) {
    // QSettings separates keys with '/'; registry paths use '\'.
    QString key = QString::fromStdString(path);
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!key.isEmpty() && !key.endsWith(QLatin1Char('/'))) key += QLatin1Char('/');
    key += QString::fromStdString(section);
    key += QLatin1Char('/');
    key += QString::fromStdString(name);
    return key;
}

QString DefaultFile(QSettings::Scope scope) {
    return QSettings(QSettings::IniFormat, scope, QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication))
        .fileName();
}

}  // namespace

QtKeyValueStore::QtKeyValueStore() : QtKeyValueStore(DefaultUserFile(), DefaultSystemFile()) {}

QtKeyValueStore::QtKeyValueStore(QString userFile, QString systemFile)
    : userFile_(std::move(userFile)), systemFile_(std::move(systemFile)) {}

QString QtKeyValueStore::DefaultUserFile() { return DefaultFile(QSettings::UserScope); }
QString QtKeyValueStore::DefaultSystemFile() { return DefaultFile(QSettings::SystemScope); }

std::optional<int32_t> QtKeyValueStore::ReadInt(KeyScope scope, const std::string& path, const std::string& section,
                                                const std::string& name) {
    const QString& file = FileOf(scope);
    if (file.isEmpty()) return std::nullopt;
    QSettings settings(file, QSettings::IniFormat);
    const QVariant value = settings.value(SettingsKey(path, section, name));
    if (!value.isValid()) return std::nullopt;
    // A DWORD is 32 bits either way: accept the signed and the unsigned
    // reading and keep the bits.
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}

bool QtKeyValueStore::WriteInt(const std::string& path, const std::string& section, const std::string& name,
                               int32_t value) {
    if (userFile_.isEmpty()) return false;
    QSettings settings(userFile_, QSettings::IniFormat);
    settings.setValue(SettingsKey(path, section, name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<std::string> QtKeyValueStore::ReadText(KeyScope scope, const std::string& path,
                                                     const std::string& section, const std::string& name) {
    const QString& file = FileOf(scope);
    if (file.isEmpty()) return std::nullopt;
    QSettings settings(file, QSettings::IniFormat);
    const QVariant value = settings.value(SettingsKey(path, section, name));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

bool QtKeyValueStore::WriteText(const std::string& path, const std::string& section, const std::string& name,
                                const std::string& value) {
    if (userFile_.isEmpty()) return false;
    QSettings settings(userFile_, QSettings::IniFormat);
    settings.setValue(SettingsKey(path, section, name), QString::fromStdString(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace orv
