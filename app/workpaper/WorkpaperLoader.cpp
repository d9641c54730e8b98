// Loads the workbook library when the first workbook is written, and keeps it loaded.
#include "Workpaper.h"
#include "WorkpaperEntry.h"

#include <activation/Activation.h>

#include <dlfcn.h>

namespace workpaper {

namespace {

constexpr long kErrCannotCreate = 429;

WriteFunction Load() {
    const std::string library = activation::ProgramFolder() + "/" + kLibraryName;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = handle ? ::dlsym(handle, kEntrySymbol) : nullptr;
    if (!entry) {
        const char* why = ::dlerror();
        throw activation::ComError(kErrCannotCreate, why ? why : library,
                                   activation::StandardErrorText(kErrCannotCreate))
            .Rethrown("Workpaper.WriteWorkpaper", "Caldren Formula Calculator");
    }
    return reinterpret_cast<WriteFunction>(entry);
}

}  // namespace

void WriteWorkpaper(vesmora::_Caldren& calc, const std::string& path) {
    static const WriteFunction write = Load();
    write(calc, path);
}

}  // namespace workpaper
