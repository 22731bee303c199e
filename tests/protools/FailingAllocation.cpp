#include "tests/protools/FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> armed{0};
std::atomic<bool> hasFired{false};

void* allocate(std::size_t size)
{
    std::size_t expected = size;
    if (size != 0 && armed.compare_exchange_strong(expected, 0)) {
        hasFired = true;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

}  // namespace

namespace failing {

void failNextAllocationOf(std::size_t size)
{
    hasFired = false;
    armed = size;
}

void disarm()
{
    armed = 0;
}

bool fired()
{
    return hasFired;
}

}  // namespace failing

void* operator new(std::size_t size)
{
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
