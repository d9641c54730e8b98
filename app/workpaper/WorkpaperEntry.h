// The contract between the program and its workbook library libcaldrenworkpaper.so.
//
// The library links libxlsxwriter; the program does not, so that a run that writes no
// workbook never loads it. Workpaper::WriteWorkpaper (Workpaper.h) loads the library from
// the program folder with dlopen when a workbook is first written, looks up the entry point
// below with dlsym and calls it. The entry throws activation::ComError like the engine's
// members do.
#pragma once

#include <vesmora/Vesmora.h>

extern "C" void CaldrenWriteWorkpaper(vesmora::_Caldren& calc, const std::string& path);

namespace workpaper {

using WriteFunction = void (*)(vesmora::_Caldren& calc, const std::string& path);

inline constexpr const char* kLibraryName = "libcaldrenworkpaper.so";  // in the program folder
inline constexpr const char* kEntrySymbol = "CaldrenWriteWorkpaper";

}  // namespace workpaper
