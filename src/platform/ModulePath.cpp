#include "platform/ModulePath.h"

#include <dlfcn.h>

namespace orv {

std::string ModuleFilePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleFilePath), &info) == 0 || !info.dli_fname) return {};
    return info.dli_fname;
}

std::string ModuleDirectory() {
    const std::string path = ModuleFilePath();
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace orv
