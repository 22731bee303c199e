// The plug-in's entry into the library: its effect group, created and initialised once per first open.
// A source of the plug-in file itself, so that the linker exports it.
#include "protools/CVectorgramGroup.h"
#include "protools/library/CDAEError.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/PlugInExports.h"

#include <new>

PI_EXPORT PI_Err PI_CALL NewPlugIn()
{
    try {
        auto* group = new (std::nothrow) CVectorgramGroup;
        if (!group) return PI_ErrOutOfMemory;
        CPlugInModule::instance().installGroup(group);
        group->initialise();
        return PI_NoErr;
    } catch (const CDAEError& error) {
        return error.code();
    } catch (...) {
        return PI_ErrInternal;
    }
}
