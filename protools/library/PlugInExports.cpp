// The library's three exports. A source of the plug-in file itself rather than of the library archive, so
// that the linker exports them while it hides everything the archives bring.
#include "protools/library/PlugInExports.h"

#include "protools/library/CPlugInModule.h"
#include "protools/library/HostRoutines.h"

#include <new>

PI_EXPORT PI_Err PI_CALL WinPlugInOpen(std::int32_t version)
{
    try {
        return CPlugInModule::instance().open(version);
    } catch (const std::bad_alloc&) {
        return PI_ErrOutOfMemory;
    } catch (...) {
        return PI_ErrInternal;
    }
}

PI_EXPORT PI_Err PI_CALL WinPlugInClose()
{
    try {
        return CPlugInModule::instance().close();
    } catch (...) {
        return PI_ErrInternal;
    }
}

PI_EXPORT PI_Err PI_CALL _PI_GetRoutineDescriptor(std::int32_t selector, PI_Routine* routine)
{
    if (!routine) return PI_ErrNullPointer;
    const PI_Routine found = hostRoutine(selector);
    if (!found) return PI_ErrUnknownSelector;
    *routine = found;
    return PI_NoErr;
}
