#include "data/ModifiedFlag.h"

namespace orv {
namespace {
int g_modified = 0;  // one UI thread: no synchronisation needed
}

int ModifiedFlag() { return g_modified; }
void SetModifiedFlag() { g_modified = 1; }
void ClearModifiedFlag() { g_modified = 0; }

}  // namespace orv
