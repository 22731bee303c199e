// Replaces the program's operator new so that a test can make one allocation fail, as a full memory
// would: the next allocation of exactly the armed size throws std::bad_alloc (or answers null for the
// nothrow forms), once.
#pragma once

#include <cstddef>

namespace failing {

void failNextAllocationOf(std::size_t size);
void disarm();
// Whether the armed allocation has happened (and failed).
bool fired();

}  // namespace failing
