#include "Factories.h"

#include "Caldren.h"
#include "Months.h"

#include <atomic>

#ifndef VESMORA_VERSION_TEXT
#error "VESMORA_VERSION_TEXT (major.minor) must be defined by the build"
#endif

namespace vesmora {

namespace {
std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};
}  // namespace

void ObjectCreated() noexcept { ++g_liveObjects; }
void ObjectDestroyed() noexcept { --g_liveObjects; }

_Caldren* NewCaldren() { return new Caldren(); }
_Months* NewMonths() { return new Months(); }
_Monthly* NewMonthly() { return new Monthly(); }

long LiveObjectCount() { return g_liveObjects.load(); }

void LockServer(bool lock) {
    if (lock) {
        ++g_serverLocks;
    } else if (g_serverLocks.load() > 0) {
        --g_serverLocks;
    }
}

long ServerLockCount() { return g_serverLocks.load(); }

std::string EngineVersionText() { return VESMORA_VERSION_TEXT; }

}  // namespace vesmora
