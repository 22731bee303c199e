// What the +vectorgram process offers its window bridge and editor: the Pro Tools controls, idle time,
// the module and the effect. Operations in slot order.
#pragma once

#include "platform/ModuleFile.h"
#include "protools/library/include/PIHostInterface.h"

#include <cstdint>

class CPluginControl;
class CVectorgramCustomUI;
class vectorgram;

class IVectorgramProcess {
public:
    virtual ~IVectorgramProcess() = default;

    // Asks for a control change: through Pro Tools when it is connected (it reports the value back),
    // else applied at once.
    virtual PI_Err setControlValue(std::int32_t index, std::int32_t value) = 0;
    // The control's current value; 0 (and an error) for an index without a control.
    virtual PI_Err getControlValue(std::int32_t index, std::int32_t* value) = 0;
    virtual CPluginControl* getControl(std::int32_t index) = 0;
    virtual void setCustomUI(CVectorgramCustomUI* bridge) = 0;
    virtual PI_Err touchControl(std::int32_t index) = 0;
    virtual PI_Err releaseControl(std::int32_t index) = 0;
    // The library's idle work for the process.
    virtual void idle() = 0;
    virtual platform::ModuleHandle getModuleInstance() = 0;
    virtual void beginResourceUse() = 0;
    virtual void endResourceUse() = 0;
    virtual vectorgram* getEffect() = 0;
};
