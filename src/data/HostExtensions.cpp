#include "data/HostExtensions.h"

namespace orv {

namespace {
HostExtensions* gExtensions = nullptr;
}

HostExtensions* CurrentHostExtensions() { return gExtensions; }
void SetCurrentHostExtensions(HostExtensions* extensions) { gExtensions = extensions; }

}  // namespace orv
