// Helpers of the fuzz targets.
#pragma once

#include <string>

namespace fuzzsupport {

// A file path in a private folder on a memory file system when there is one (/dev/shm),
// so that the flush of every save costs nothing; `name` tells files apart.
std::string ScratchFile(const std::string& name);

// Writes the bytes to the path, replacing what was there.
void WriteBytes(const std::string& path, const unsigned char* data, std::size_t size);

std::string ReadBytes(const std::string& path);

// Stops the run with a message: a broken invariant is a finding like a crash.
[[noreturn]] void Finding(const std::string& what);

}  // namespace fuzzsupport
