// The real-time (RTAS) effect type: its processes render on Pro Tools' audio thread.
#pragma once

#include "protools/library/CEffectType.h"

class CEffectTypeRTAS : public CEffectType {
public:
    CEffectTypeRTAS(std::uint32_t typeID, std::uint32_t productID, std::int32_t configuration);
    int kind() const override;
};
