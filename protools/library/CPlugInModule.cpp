#include "protools/library/CPlugInModule.h"

#include "platform/WindowSystem.h"
#include "protools/library/CDAEError.h"
#include "protools/library/CEffectGroup.h"
#include "protools/library/CEffectProcess.h"
#include "protools/library/CEffectType.h"
#include "protools/library/PlugInExports.h"

#include <algorithm>
#include <new>

namespace {
// Any address inside this file tells which module the library was linked into.
const char anchor = 0;
}  // namespace

CPlugInModule& CPlugInModule::instance()
{
    static CPlugInModule module;
    return module;
}

CPlugInModule::CPlugInModule()
{
    // Inserts a host leaves behind close their windows in the destructor, after the other statics
    // made later have gone: the window system must be made first.
    platform::WindowSystem::keepForLater();
}

CPlugInModule::~CPlugInModule()
{
    release();
}

platform::ModuleHandle CPlugInModule::handle() const
{
    return platform::moduleContaining(&anchor);
}

std::string CPlugInModule::filePath() const
{
    return platform::modulePath(&anchor);
}

PI_Err CPlugInModule::open(std::int32_t version)
{
    if (version != PI_OpenVersion) return PI_ErrBadVersion;
    deleteRetired();
    if (openCount > 0) {
        ++openCount;
        return PI_NoErr;
    }
    const std::string path = filePath();
    if (path.empty()) return PI_ErrResourceFile;
    if (const PI_Err err = resourceFile.load(path + ".rsr")) return err;
    opening = true;
    PI_Err result = NewPlugIn();
    opening = false;
    if (result == PI_NoErr && !theGroup) result = PI_ErrNoPlugIn;
    if (result != PI_NoErr) {
        release();
        return result;
    }
    openCount = 1;
    return PI_NoErr;
}

PI_Err CPlugInModule::close()
{
    deleteRetired();
    if (openCount == 0) return PI_ErrNotOpen;
    if (--openCount == 0) release();
    return PI_NoErr;
}

void CPlugInModule::release()
{
    // Inserts the host left behind go with the library.
    for (const PI_Insert h : inserts.handles()) destroyInsert(h);
    deleteRetired();
    theGroup.reset();
    resourceFile.clear();
}

void CPlugInModule::installGroup(CEffectGroup* group)
{
    if (!opening || theGroup) {
        delete group;
        throw CDAEError(PI_ErrNotOpen);
    }
    theGroup.reset(group);
}

PI_Err CPlugInModule::createInsert(std::int32_t type, std::int32_t sampleRate, PI_Insert& insert)
{
    if (!isOpen()) return PI_ErrNotOpen;
    const CEffectType* effectType = theGroup->type(type);
    if (!effectType) return PI_ErrUnknownType;
    if (sampleRate < 1 || sampleRate > PI_MaxSampleRate) return PI_ErrBadSampleRate;
    if (inserts.full()) return PI_ErrTooManyInserts;

    std::unique_ptr<CProcess> made(effectType->createProcess());
    if (!made) return PI_ErrOutOfMemory;
    auto* process = dynamic_cast<CEffectProcess*>(made.get());
    if (!process) return PI_ErrInternal;
    made->hostSampleRate = sampleRate;
    made->stemInputs = effectType->inputChannels();
    made->stemOutputs = effectType->outputChannels();
    made->typeProductID = effectType->productID();
    process->initialiseProcess();
    process->startControls();
    insert = inserts.add(process);
    made.release();
    return PI_NoErr;
}

PI_Err CPlugInModule::destroyInsert(PI_Insert insert)
{
    CEffectProcess* process = inserts.remove(insert);
    if (!process) return PI_ErrUnknownInsert;
    CProcess& base = *process;
    base.notify = nullptr;  // a process on its way out tells the host nothing more
    // Its window goes first, as it does in the host: that also ends a gesture in it that may be running
    // underneath this call.
    if (process->windowOpen()) {
        try {
            process->closeWindow();
        } catch (...) {
        }
    }
    if (base.callDepth > 0)
        base.destroyPending = true;
    else
        delete process;
    return PI_NoErr;
}

CPlugInModule::Use::Use(PI_Insert insert) : used(nullptr)
{
    instance().deleteRetired();
    used = instance().findInsert(insert);
    if (used) ++static_cast<CProcess&>(*used).callDepth;
}

CPlugInModule::Use::~Use()
{
    if (!used) return;
    CProcess& base = *used;
    if (--base.callDepth == 0 && base.destroyPending) delete used;
}

void CPlugInModule::retire(CProcess* process)
{
    if (std::find(retired.begin(), retired.end(), process) == retired.end()) retired.push_back(process);
}

void CPlugInModule::deleteRetired()
{
    std::vector<CProcess*> going;
    going.swap(retired);
    for (CProcess* process : going) delete process;
}
