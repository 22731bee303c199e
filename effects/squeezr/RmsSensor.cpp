#include "effects/squeezr/RmsSensor.h"

RmsSensor::RmsSensor() : roots(new float[kTableSize])
{
    for (int i = 0; i < kTableSize; ++i) roots[i] = std::sqrt(static_cast<float>(i)) / 256.0f;
}
