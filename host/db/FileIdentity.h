#pragma once
// Whether two paths name one file, by device and inode rather than by path
// text, so that a symbolic link, a "../" detour or a hard link is seen
// through; and the folder a path lies in.

#include <string>

namespace orv::hostdb {

// True when both paths exist and are the same file.
bool SameFile(const std::string& a, const std::string& b);

// The folder that holds path: "." for a bare file name.
std::string FolderOf(const std::string& path);

}  // namespace orv::hostdb
