// Shared ownership for views and draw contexts: objects start with one reference and delete themselves
// when the last one is released.
#pragma once

#include <cstdint>

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    virtual ~CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;

    virtual void release();
    virtual void retain();

    std::int32_t referenceCount() const { return count; }

private:
    std::int32_t count = 1;
};
