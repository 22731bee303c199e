// The +vectorgram process of one insert: it owns one vectorgram effect (the Pro Tools variant) and plays
// the VST host's part for it. Pro Tools control 2 is the effect's "display" parameter; control 1, the
// master bypass, is the library's alone.
#pragma once

#include "protools/IVectorgramProcess.h"
#include "protools/library/CEffectProcess.h"

#include <string>

class CVectorgramProcess : public IVectorgramProcess, public virtual CEffectProcess {
public:
    static constexpr std::int32_t kBypassControl = 1;
    static constexpr std::int32_t kSamplesControl = 2;

    CVectorgramProcess();
    ~CVectorgramProcess() override;

    PI_Err setControlValue(std::int32_t index, std::int32_t value) override;
    PI_Err getControlValue(std::int32_t index, std::int32_t* value) override;
    CPluginControl* getControl(std::int32_t index) override;
    void setCustomUI(CVectorgramCustomUI* bridge) override;
    PI_Err touchControl(std::int32_t index) override;
    PI_Err releaseControl(std::int32_t index) override;
    void idle() override;
    platform::ModuleHandle getModuleInstance() override;
    void beginResourceUse() override;
    void endResourceUse() override;
    vectorgram* getEffect() override;
    // Library bookkeeping: how many processes the library holds.
    virtual std::int32_t liveProcesses();

    // Pro Tools control values span the whole signed 32-bit range; the effect speaks min..max (0..1).
    static float controlToValue(std::int32_t control, float min, float max);
    static std::int32_t valueToControl(float value, float min, float max);

    void initialiseProcess() override;
    // The effect's own text for its sample count, so a host shows what the effect uses.
    std::string controlText(std::int32_t index) override;

protected:
    void updateAlgorithm(std::int32_t index) override;

    CVectorgramCustomUI* customUI = nullptr;
    vectorgram* effect = nullptr;
    platform::ModuleHandle moduleInstance = 0;
};
