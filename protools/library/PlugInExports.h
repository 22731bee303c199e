// The four exports of a Pro Tools plug-in file. The library defines the first three; the plug-in
// defines NewPlugIn, which the library calls from the first WinPlugInOpen.
#pragma once

#include "protools/library/include/PIHostInterface.h"

#include <cstdint>

#if defined(_WIN32)
#define PI_EXPORT extern "C"  // exported by the .def file
#else
#define PI_EXPORT extern "C" __attribute__((visibility("default")))
#endif

PI_EXPORT PI_Err PI_CALL WinPlugInOpen(std::int32_t version);
PI_EXPORT PI_Err PI_CALL WinPlugInClose();
PI_EXPORT PI_Err PI_CALL _PI_GetRoutineDescriptor(std::int32_t selector, PI_Routine* routine);
// Creates the plug-in's effect group, stores it with the library and initialises it.
PI_EXPORT PI_Err PI_CALL NewPlugIn();
