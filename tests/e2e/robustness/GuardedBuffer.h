// Memory handed to a plug-in under test whose last byte sits right before an inaccessible page, so
// that reading or writing one byte past the size the host promised faults at once, in every build.
// The page before the buffer is inaccessible too when the buffer fills whole pages.
#pragma once

#include <cstddef>
#include <cstdint>

class GuardedBuffer {
public:
    // Room for up to capacity bytes; the usable size is chosen per use with resize().
    explicit GuardedBuffer(std::size_t capacity);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    // Moves the start so that exactly size bytes lie before the guard page (size <= capacity).
    // Returns the new start; the contents are whatever was there.
    char* resize(std::size_t size);
    char* data() const { return start_; }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }

    void fill(unsigned char byte);
    // True when every byte still holds the value fill() wrote.
    bool holds(unsigned char byte) const;

    // An address inside the guard page: any access through it faults.
    void* forbidden() const { return guard_; }

private:
    char* region_ = nullptr;
    std::size_t regionSize_ = 0;
    char* guard_ = nullptr;
    char* start_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
