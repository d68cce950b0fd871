#include "host/ColorSchemes.h"

#include <QSettings>

namespace orv::host {
namespace {

constexpr int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

}  // namespace

const std::vector<ColorScheme>& ColorSchemes() {
    static const std::vector<ColorScheme> schemes{
        {QStringLiteral("System colours"), {}},
        {QStringLiteral("Ocean"),
         {{3, Rgb(0xC6, 0xDE, 0xF7)},
          {4, Rgb(0x8C, 0xB5, 0xE0)},
          {5, Rgb(0xE8, 0xF1, 0xFA)},
          {7, Rgb(0x1F, 0x4E, 0x79)},
          {8, Rgb(0xFF, 0xFF, 0xFF)}}},
        {QStringLiteral("Meadow"),
         {{3, Rgb(0xD4, 0xEC, 0xC8)},
          {4, Rgb(0xA3, 0xCF, 0x8E)},
          {5, Rgb(0xF0, 0xF7, 0xEB)},
          {7, Rgb(0x2E, 0x5E, 0x1E)},
          {8, Rgb(0xFF, 0xFF, 0xFF)}}},
    };
    return schemes;
}

int32_t HostColors::GetColor(int32_t number) {
    const auto& colours = ColorSchemes()[scheme_].colours;
    const auto it = colours.find(number);
    return it == colours.end() ? -1 : it->second;
}

namespace {
const char* const kSchemeKey = "view/colorScheme";
}

std::size_t StoredColorScheme() {
    const QString name = QSettings().value(QString::fromLatin1(kSchemeKey)).toString();
    for (std::size_t i = 0; i < ColorSchemes().size(); ++i)
        if (ColorSchemes()[i].name == name) return i;
    return 0;
}

bool StoreColorScheme(std::size_t index) {
    if (index >= ColorSchemes().size()) return false;
    QSettings settings;
    settings.setValue(QString::fromLatin1(kSchemeKey), ColorSchemes()[index].name);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace orv::host
