// The library's state in the loaded plug-in file: how often it is open, its resources, the plug-in's one
// effect group and the live inserts. The exports and host routines work through it.
#pragma once

#include "platform/ModuleFile.h"
#include "protools/library/CInsertTable.h"
#include "protools/library/CPlugInResources.h"
#include "protools/library/include/PIHostInterface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CEffectGroup;
class CEffectProcess;
class CProcess;

class CPlugInModule {
public:
    static CPlugInModule& instance();
    ~CPlugInModule();

    // WinPlugInOpen and WinPlugInClose.
    PI_Err open(std::int32_t version);
    PI_Err close();
    bool isOpen() const { return openCount > 0; }

    // The plug-in's group, stored by NewPlugIn while the library opens; the library owns it from here
    // on. At any other time, or when there is one already, it is deleted and CDAEError thrown.
    void installGroup(CEffectGroup* group);
    CEffectGroup* group() const { return theGroup.get(); }
    CPlugInResources& resources() { return resourceFile; }
    platform::ModuleHandle handle() const;
    std::string filePath() const;

    PI_Err createInsert(std::int32_t type, std::int32_t sampleRate, PI_Insert& insert);
    PI_Err destroyInsert(PI_Insert insert);
    // Any thread; the render routine's way to its process.
    CEffectProcess* findInsert(PI_Insert insert) const { return inserts.find(insert); }

    // A host routine's use of an insert: a host that destroys the insert meanwhile (from a notification)
    // has it deleted when the outermost use ends.
    class Use {
    public:
        explicit Use(PI_Insert insert);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;
        CEffectProcess* process() const { return used; }

    private:
        CEffectProcess* used;
    };

    // A process whose insert went while no host routine was using it (see CProcess::notifyHost): it
    // is deleted at the next host routine.
    void retire(CProcess* process);
    void deleteRetired();

private:
    CPlugInModule();
    void release();

    int openCount = 0;
    bool opening = false;
    CPlugInResources resourceFile;
    std::unique_ptr<CEffectGroup> theGroup;
    CInsertTable inserts;
    std::vector<CProcess*> retired;
};
