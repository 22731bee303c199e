#include "tests/protools/library/TestPlugIn.h"

#include "protools/library/CDAEError.h"
#include "protools/library/CEffectTypeRTAS.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/CPluginControl_Discrete.h"
#include "protools/library/CPluginControl_OnOff.h"
#include "protools/library/FourCharCode.h"
#include "protools/library/PlugInExports.h"

#include <stdexcept>

namespace testplugin {

namespace {

Recipe currentRecipe;
int calls = 0;

CProcess* createTestProcess()
{
    return recipe().processCreatorFails ? nullptr : new TestProcess;
}

CCustomView* createTestView()
{
    return recipe().viewCreatorFails ? nullptr : new TestView;
}

class TestGroup : public CEffectGroup {
public:
    TestGroup()
    {
        defineManufacturerNamesAndID("Test Maker\nTest\n", fourCharID("TSTM"));
        definePlugInNamesAndVersion("Test Plug-In\nTest\nTP", 3);
        for (const std::int32_t g : recipe().groupGestalts) addGestalt(g);
    }

    void initialise() override
    {
        CEffectGroup::initialise();
        registerCustomViewCreator("TestView", createTestView);
        if (recipe().initialiseThrowsOther) throw std::runtime_error("not a library error");
    }

protected:
    void createEffectTypes() override
    {
        if (!recipe().createType) return;
        auto type = std::make_unique<CEffectTypeRTAS>(fourCharID("TTyp"), fourCharID("TPrd"), 77);
        type->defineTypeNames("Test Type Long Name\nTest Type\nTT");
        type->defineSampleRateSupport(3);
        type->defineStemFormats(recipe().inputFormat, recipe().outputFormat, 5);
        type->attachProcessCreator(createTestProcess);
        type->definePageTablesName(recipe().pageTables);
        addEffectType(std::move(type));
    }
};

}  // namespace

Recipe& recipe()
{
    return currentRecipe;
}

int newPlugInCalls()
{
    return calls;
}

void TestProcess::initialiseProcess()
{
    addControl(std::make_unique<CPluginControl_OnOff>(fourCharID("byps"), "Master Bypass\nBypass", false, true));
    declareMasterBypass(1);
    addControl(std::make_unique<CPluginControl_Discrete>(fourCharID("levl"), "Level\nLvl", 0, 100, 50, true));
    addControl(std::make_unique<CPluginControl_OnOff>(
        fourCharID(recipe().controlsShareAnID ? "levl" : "mute"), "Mute", false, false));
}

void TestProcess::hostIdle()
{
    ++idles;
    CEffectProcessRTAS::hostIdle();
    if (duringIdle) duringIdle();
}

void TestView::draw(const PI_ViewRect& area)
{
    drawn.push_back(area);
}

void TestProcess::renderRTAS(float** inputs, float** outputs, std::int32_t frames)
{
    ++renders;
    for (std::int32_t c = 0; c < outputChannels(); ++c)
        for (std::int32_t i = 0; i < frames; ++i) outputs[c][i] = c < inputChannels() ? inputs[c][i] * 0.5f : 0.0f;
}

}  // namespace testplugin

PI_EXPORT PI_Err PI_CALL NewPlugIn()
{
    using namespace testplugin;
    ++calls;
    try {
        if (recipe().groupAllocationFails) return PI_ErrOutOfMemory;
        auto* group = new TestGroup;
        CPlugInModule::instance().installGroup(group);
        group->initialise();
        return PI_NoErr;
    } catch (const CDAEError& e) {
        return e.code();
    } catch (...) {
        return PI_ErrInternal;
    }
}
