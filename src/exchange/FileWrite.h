#pragma once
// Whole files in and out. A file is written to a temporary file in the
// destination's folder and renamed over the destination only when every byte
// is on disk, so a failed write never leaves half a file in its place.

#include <string>

namespace orv::exchange {

// False with the reason in *error; the destination is then unchanged.
bool WriteFileAtomically(const std::string& path, const std::string& content, std::string* error);

// The whole file. False with the reason in *error.
bool ReadWholeFile(const std::string& path, std::string* content, std::string* error);

}  // namespace orv::exchange
