// The +vectorgram process of one insert: it owns one vectorgram effect (the Pro Tools variant) and plays
// the VST host's part for it. Pro Tools control 2 is the effect's "display" parameter; control 1, the
// master bypass, is the library's alone. The plug-in window's requests reach the window bridge, which
// the process makes the first time the library asks for the view or its size, and owns.
#pragma once

#include "protools/IVectorgramProcess.h"
#include "protools/library/CEffectProcess.h"

#include <string>

class CVectorgramView;

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

    // The plug-in window. The view: a view of the editor's size holding a "VectorgramView" that draws
    // through the bridge. Its size as top, left, bottom, right.
    CPlugInView* createPlugInView() override;
    void plugInViewRect(std::int32_t& top, std::int32_t& left, std::int32_t& bottom, std::int32_t& right) override;
    // With a port the bridge opens in the port's window; without one it closes.
    void setWindowPort(const PI_WindowPort* port) override;
    // The library's idle work with the bridge's idle in between.
    void hostIdle() override;
    // The master bypass is the library's; control 2's highlight goes to the bridge.
    void setControlHighlight(std::int32_t index, bool highlighted, std::int32_t colour) override;
    std::int32_t controlUnderPoint(std::int32_t x, std::int32_t y) override;

    CVectorgramCustomUI* getCustomUI() const { return customUI; }
    CVectorgramView* getPlugInView() const { return pluginView; }
    const PI_WindowPort* getViewPort() const { return viewPort; }

protected:
    void updateAlgorithm(std::int32_t index) override;
    // Pro Tools shows a control's value: the bridge shows it in the editor.
    void showControlValue(std::int32_t index, std::int32_t value) override;

private:
    // The bridge, made when first needed, with its rectangle read.
    CVectorgramCustomUI& bridge();

protected:
    const PI_WindowPort* viewPort = nullptr;
    CVectorgramCustomUI* customUI = nullptr;
    vectorgram* effect = nullptr;
    CVectorgramView* pluginView = nullptr;
    platform::ModuleHandle moduleInstance = 0;
};
