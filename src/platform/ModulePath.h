#pragma once
// Where the module's own file lives: reports and workbook templates sit next
// to it. Found with dladdr on a symbol of the module, so it is right however
// the host located the library.

#include <string>

namespace orv {

// Full path of the shared object (or program) this code was linked into;
// empty when the system cannot tell.
std::string ModuleFilePath();
// The directory part of ModuleFilePath(), without a trailing "/".
std::string ModuleDirectory();

}  // namespace orv
