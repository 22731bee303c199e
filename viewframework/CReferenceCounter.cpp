#include "viewframework/CReferenceCounter.h"

void CReferenceCounter::release()
{
    if (--count == 0) delete this;
}

void CReferenceCounter::retain()
{
    ++count;
}
