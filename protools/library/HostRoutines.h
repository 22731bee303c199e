// The routines _PI_GetRoutineDescriptor hands out, one per selector of PIHostInterface.h.
#pragma once

#include "protools/library/include/PIHostInterface.h"

#include <cstdint>

// Null for a selector without a routine.
PI_Routine hostRoutine(std::int32_t selector);
