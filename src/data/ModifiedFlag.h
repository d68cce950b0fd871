#pragma once
// The process-wide "unsaved changes" flag the host reads through IsModified.
// Every operation that adds, changes or removes a record raises it before it
// writes; only the module's Init clears it.

namespace orv {

int ModifiedFlag();
void SetModifiedFlag();
void ClearModifiedFlag();

}  // namespace orv
