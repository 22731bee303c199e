// A Pro Tools plug-in file loaded as the stand-in Pro Tools loads it: its four exports and the routines
// of the documented host interface (protools/library/include/PIHostInterface.h), nothing else.
#pragma once

#include "protools/library/include/PIHostInterface.h"
#include "tools/plughost/SharedLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

class ProToolsPlugin {
public:
    // Every routine of the interface, by selector.
    struct Routines {
        PI_GetGroupInfoProc getGroupInfo = nullptr;
        PI_GetManufacturerNameProc getManufacturerName = nullptr;
        PI_GetGroupNameProc getGroupName = nullptr;
        PI_GetGroupGestaltsProc getGroupGestalts = nullptr;
        PI_GetTypeInfoProc getTypeInfo = nullptr;
        PI_GetTypeNameProc getTypeName = nullptr;
        PI_GetTypeGestaltsProc getTypeGestalts = nullptr;
        PI_CreateInsertProc createInsert = nullptr;
        PI_DestroyInsertProc destroyInsert = nullptr;
        PI_RenderProc render = nullptr;
        PI_SetNotifyProc setNotify = nullptr;
        PI_IdleProc idle = nullptr;
        PI_GetControlCountProc getControlCount = nullptr;
        PI_GetControlInfoProc getControlInfo = nullptr;
        PI_GetControlNameProc getControlName = nullptr;
        PI_GetControlTextProc getControlText = nullptr;
        PI_FindControlProc findControl = nullptr;
        PI_SetControlValueProc setControlValue = nullptr;
        PI_GetChunkSizeProc getChunkSize = nullptr;
        PI_SaveChunkProc saveChunk = nullptr;
        PI_RestoreChunkProc restoreChunk = nullptr;
        PI_GetViewSizeProc getViewSize = nullptr;
        PI_OpenWindowProc openWindow = nullptr;
        PI_CloseWindowProc closeWindow = nullptr;
        PI_DrawWindowProc drawWindow = nullptr;
        PI_HighlightControlProc highlightControl = nullptr;
        PI_ControlAtProc controlAt = nullptr;
    };

    // The four exports of a plug-in file.
    struct Exports {
        PI_WinPlugInOpenProc winPlugInOpen = nullptr;
        PI_WinPlugInCloseProc winPlugInClose = nullptr;
        PI_GetRoutineDescriptorProc getRoutineDescriptor = nullptr;
        PI_NewPlugInProc newPlugIn = nullptr;
    };

    ProToolsPlugin() = default;
    ~ProToolsPlugin();
    ProToolsPlugin(const ProToolsPlugin&) = delete;
    ProToolsPlugin& operator=(const ProToolsPlugin&) = delete;

    // Whether the file exports the Pro Tools entry points (it is loaded and unloaded to see).
    static bool recognises(const std::string& path);

    // Loads the file and finds its exports and every routine; one line in error on failure.
    bool load(const std::string& path, std::string& error);
    // Uses exports already in this process (a plug-in linked into a test program) as load would.
    bool attach(const Exports& exports, std::string& error);
    // Closes every open this made that is still in force, then unloads the file.
    void unload();

    // WinPlugInOpen and WinPlugInClose; successful opens are counted for unload.
    PI_Err open(std::int32_t version = PI_OpenVersion);
    PI_Err close();

    const Routines& routines() const { return routines_; }
    // The exports themselves, for hosts (and tests) that call them directly.
    const Exports& exports() const { return exports_; }

    // Names at a length; empty when the routine answers an error.
    std::string manufacturerName(int length) const;
    std::string groupName(int length) const;
    std::string typeName(std::int32_t type, int length) const;
    std::string controlName(PI_Insert insert, std::int32_t index, int length) const;
    std::string controlText(PI_Insert insert, std::int32_t index) const;
    // Gestalt selectors; empty on an error.
    std::vector<std::int32_t> groupGestalts() const;
    std::vector<std::int32_t> typeGestalts(std::int32_t type) const;

    static std::string errorText(PI_Err error);

private:
    SharedLibrary library_;
    Exports exports_;
    Routines routines_;
    int opens_ = 0;
};
