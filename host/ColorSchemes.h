#pragma once
// The host's colour provider: the module asks for colours 3, 4, 5, 7 and 8
// and gets 0x00BBGGRR values, or -1 for "use the system colour". The user
// switches schemes from the View menu; the module is then told to re-colour.

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

#include "data/HostInterfaces.h"

namespace orv::host {

struct ColorScheme {
    QString name;
    std::map<int32_t, int32_t> colours;  // colour number -> 0x00BBGGRR
};

// The first scheme answers -1 for every colour; the others are coloured.
const std::vector<ColorScheme>& ColorSchemes();

// The scheme the user chose last (by name, in the host's QSettings), 0 when
// none was chosen or its name is no longer known.
std::size_t StoredColorScheme();
// Remembers the scheme for the next start; false when it could not be written.
bool StoreColorScheme(std::size_t index);

class HostColors : public HostColorProvider {
public:
    int32_t GetColor(int32_t number) override;
    void SetScheme(std::size_t index) { scheme_ = index < ColorSchemes().size() ? index : 0; }
    std::size_t Scheme() const { return scheme_; }

private:
    std::size_t scheme_ = 0;
};

}  // namespace orv::host
