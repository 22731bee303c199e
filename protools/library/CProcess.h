// The library's process base: one per insert. The library keeps here what it knows of the insert (its
// handle, the host's sample rate, the stem, the host's notification routine) and reaches the plug-in's
// process through the virtual operations. Plug-in processes derive from it virtually, through
// CEffectProcess and CEffectProcessRTAS, so the library always sees one process object.
#pragma once

#include "protools/library/include/PIHostInterface.h"

#include <atomic>
#include <cstdint>

class CInsertTable;
class CPlugInModule;

class CProcess {
public:
    CProcess();
    virtual ~CProcess();
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;

    // One block of the insert's stem, on the audio thread. The channel arrays hold the stem's channel
    // counts of valid pointers and frames > 0. This base passes the input through.
    virtual void renderBlock(float** inputs, float** outputs, std::int32_t frames);

    // The host's idle call for the insert (the Idle routine).
    void runHostIdle();
    // What the insert does with the host's idle. This base does the library's idle work; a plug-in
    // with a window gives it its turn between the two halves, beginIdle and endIdle.
    virtual void hostIdle();
    // The library's idle work for the process, for a plug-in that waits in a loop of its own (a drag):
    // what is queued for the insert, which is the insert's own idle turn when one is due and the
    // plug-in is not inside one already (the host keeps idling the insert meanwhile), then the group's
    // idle. Between turns it leaves the host the processor for a millisecond.
    void doIdleWork();

    std::int32_t sampleRate() const { return hostSampleRate; }
    std::int32_t inputChannels() const { return stemInputs; }
    std::int32_t outputChannels() const { return stemOutputs; }
    std::uint32_t productID() const { return typeProductID; }
    PI_Insert insert() const { return handle; }

    // While the host has a notification routine registered it is connected: the plug-in's control
    // requests go to it rather than straight to the controls.
    bool connected() const { return notify != nullptr; }
    // The host's notification routine; null disconnects.
    void connectHost(PI_NotifyProc routine, void* user)
    {
        notify = routine;
        notifyUser = user;
    }
    void notifyHost(std::int32_t notification, std::int32_t controlIndex, std::int32_t value);

    // Processes alive in the library.
    static std::int32_t liveCount();

    // Host idle turns the insert is inside now.
    int idleDepth() const { return idling; }

protected:
    // The library's own idle work, and the rest of it: the group's idle.
    void beginIdle();
    void endIdle();

private:
    friend class CInsertTable;
    friend class CPlugInModule;

    std::int32_t hostSampleRate = 44100;
    std::int32_t stemInputs = 2;
    std::int32_t stemOutputs = 2;
    std::uint32_t typeProductID = 0;
    PI_Insert handle = 0;
    PI_NotifyProc notify = nullptr;
    void* notifyUser = nullptr;
    // Calls into this process in progress on the host's thread: a host that destroys the insert
    // from inside one of them has it deleted when the outermost returns.
    int callDepth = 0;
    bool destroyPending = false;
    int idling = 0;
    std::uint32_t lastIdleTick = 0;
    bool idledOnce = false;

    // A call into the process on its own behalf (a notification, the plug-in's idle work): the process
    // stays until it ends, and goes after it when the host destroyed the insert meanwhile.
    void enterCall() { ++callDepth; }
    void leaveCall();

    static std::atomic<std::int32_t> live;
};
