#include "protools/CVectorgramGroup.h"

#include "protools/CVectorgramProcessRTAS.h"
#include "protools/CVectorgramView.h"
#include "protools/library/CEffectTypeRTAS.h"
#include "protools/library/FourCharCode.h"

#include <new>

namespace {
constexpr std::int32_t kIsCacheable = 14;
}

CVectorgramGroup::CVectorgramGroup()
{
    defineManufacturerNamesAndID("Tonewerks\n", fourCharID("TNWK"));
    definePlugInNamesAndVersion("Tonewerks +vectorgram\n+vectorgram\n+kvl", 1);
    addGestalt(kIsCacheable);
}

void CVectorgramGroup::initialise()
{
    CEffectGroup::initialise();
    registerCustomViewCreator(CVectorgramView::kName, &CVectorgramView::create);
}

void CVectorgramGroup::createEffectTypes()
{
    auto type = std::make_unique<CEffectTypeRTAS>(fourCharID("+vgm"), fourCharID("+vgm"), 512);
    type->defineTypeNames("Tonewerks +vectorgram\n+vectorgram\n+vgm");
    type->defineSampleRateSupport(6);
    type->addGestalt(8);
    type->addGestalt(48);
    type->defineStemFormats(1, 1, 0);
    type->attachProcessCreator(&CVectorgramGroup::createProcess);
    type->definePageTablesName("VectorgramPageTables");
    addEffectType(std::move(type));
}

CProcess* CVectorgramGroup::createProcess()
{
    return new (std::nothrow) CVectorgramProcessRTAS;
}
