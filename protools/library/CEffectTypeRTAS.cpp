#include "protools/library/CEffectTypeRTAS.h"

#include "protools/library/include/PIHostInterface.h"

namespace {
constexpr std::int32_t kRealTimeGestalt = 7;
}

CEffectTypeRTAS::CEffectTypeRTAS(std::uint32_t typeID, std::uint32_t productID, std::int32_t configuration)
    : CEffectType(typeID, productID, configuration)
{
    addGestalt(kRealTimeGestalt);
}

int CEffectTypeRTAS::kind() const
{
    return PI_TypeRTAS;
}
