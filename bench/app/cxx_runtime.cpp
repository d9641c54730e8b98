// Linked into batch_baseline_cxx: the C baseline with the C++ runtime loaded and started the
// way every C++ program of ours has it (libstdc++ and libgcc_s mapped, relocated and their
// statics built), and nothing else. Its time against batch_baseline's is what the shared C++
// runtime alone costs a process on the machine measured, before any code of ours runs.
#include <cstdlib>
#include <string>

namespace {
[[maybe_unused]] const std::string kRuntimeInUse = std::getenv("HOME") ? "home" : "no home";
}  // namespace
