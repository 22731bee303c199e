// A plug-in view of a given size that no resource describes: the plug-in fills it with views of its own.
#pragma once

#include "protools/library/CPlugInView.h"

#include <cstdint>

class CNoResourceView : public CPlugInView {
public:
    CNoResourceView(std::int32_t width, std::int32_t height);
    ~CNoResourceView() override;
};
