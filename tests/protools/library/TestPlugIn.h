// The tests' own plug-in on the library: NewPlugIn builds the group the recipe describes, and each insert
// gets a TestProcess that records what the library asks of it.
#pragma once

#include "protools/library/CCustomView.h"
#include "protools/library/CEffectGroup.h"
#include "protools/library/CEffectProcessRTAS.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testplugin {

struct Recipe {
    bool groupAllocationFails = false;
    std::vector<std::int32_t> groupGestalts{14};
    std::int32_t inputFormat = 1;
    std::int32_t outputFormat = 1;
    std::string pageTables = "TestPageTables";
    bool createType = true;
    bool initialiseThrowsOther = false;  // something that is not a CDAEError
    bool processCreatorFails = false;
    bool controlsShareAnID = false;
    bool viewCreatorFails = false;
};

Recipe& recipe();
int newPlugInCalls();

// The custom view the group registers as "TestView": it records what it is asked to draw.
class TestView : public CCustomView {
public:
    void draw(const PI_ViewRect& area) override;
    std::vector<PI_ViewRect> drawn;
};

// Controls: 1 'byps' on/off, the master bypass; 2 'levl' discrete 0..100, default 50; 3 'mute' on/off.
class TestProcess : public CEffectProcessRTAS {
public:
    void initialiseProcess() override;
    void hostIdle() override;

    std::vector<std::int32_t> updates;
    std::vector<std::pair<std::int32_t, std::int32_t>> shown;
    int renders = 0;
    int idles = 0;
    std::function<void()> duringIdle;

protected:
    void updateAlgorithm(std::int32_t index) override { updates.push_back(index); }
    void showControlValue(std::int32_t index, std::int32_t value) override { shown.emplace_back(index, value); }
    // Halves every sample, so that the plug-in's render and the library's pass-through differ.
    void renderRTAS(float** inputs, float** outputs, std::int32_t frames) override;
};

}  // namespace testplugin
