#include "tests/e2e/robustness/GuardedBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>

namespace {
std::size_t pageSize()
{
    static const std::size_t size = std::size_t(sysconf(_SC_PAGESIZE));
    return size;
}
}  // namespace

GuardedBuffer::GuardedBuffer(std::size_t capacity) : capacity_(capacity)
{
    const std::size_t page = pageSize();
    const std::size_t usable = (capacity + page - 1) / page * page;
    // A guard page on each side of the usable pages.
    regionSize_ = usable + 2 * page;
    void* region = mmap(nullptr, regionSize_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED) throw std::bad_alloc();
    region_ = static_cast<char*>(region);
    if (usable && mprotect(region_ + page, usable, PROT_READ | PROT_WRITE) != 0) {
        munmap(region_, regionSize_);
        throw std::bad_alloc();
    }
    guard_ = region_ + page + usable;
    resize(capacity);
}

GuardedBuffer::~GuardedBuffer()
{
    if (region_) munmap(region_, regionSize_);
}

char* GuardedBuffer::resize(std::size_t size)
{
    if (size > capacity_) size = capacity_;
    size_ = size;
    start_ = guard_ - size;
    return start_;
}

void GuardedBuffer::fill(unsigned char byte)
{
    if (size_) std::memset(start_, byte, size_);
}

bool GuardedBuffer::holds(unsigned char byte) const
{
    for (std::size_t i = 0; i < size_; ++i)
        if (static_cast<unsigned char>(start_[i]) != byte) return false;
    return true;
}
