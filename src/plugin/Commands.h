#pragma once
// The module's menu commands, run for GetOnCommandID.

#include <cstdint>

namespace orv {

// Runs command `id`; ids the module does not know do nothing.
void RunCommand(int32_t id);

}  // namespace orv
