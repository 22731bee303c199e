/* The host interface of a Tonewerks Pro Tools plug-in file (vectorgram_rtas.so, vectorgram_rtas.dll).
 *
 * A host loads the file, calls WinPlugInOpen(73), and from then on reaches everything through the
 * routines _PI_GetRoutineDescriptor hands out, one per selector below. docs/protools-host-interface.md
 * describes every routine, the order of calls, threads and the controls chunk. Plain C, so that any
 * host can include it; nothing here belongs to the plug-in's inside. */
#ifndef TW_PI_HOST_INTERFACE_H
#define TW_PI_HOST_INTERFACE_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define PI_CALL __cdecl
#else
#define PI_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Every export and routine answers one of these; 0 is success. */
typedef int16_t PI_Err;

enum PI_ErrorCode {
    PI_NoErr = 0,
    PI_ErrBadVersion = -1,            /* WinPlugInOpen with anything but PI_OpenVersion */
    PI_ErrOutOfMemory = -7003,        /* the plug-in or the library could not allocate */
    PI_ErrInternal = -7401,           /* anything else that went wrong inside; also an unknown stem format */
    PI_ErrNotOpen = -7402,            /* no successful WinPlugInOpen is in force */
    PI_ErrUnknownSelector = -7403,    /* _PI_GetRoutineDescriptor: no routine has this selector */
    PI_ErrNullPointer = -7404,        /* a pointer the routine needs is null */
    PI_ErrUnknownInsert = -7405,      /* the insert was never created, or is destroyed */
    PI_ErrUnknownType = -7406,        /* no effect type has this number */
    PI_ErrUnknownControl = -7407,     /* no control has this index or ID */
    PI_ErrValueOutOfRange = -7408,    /* a control value the control cannot take */
    PI_ErrBadLength = -7409,          /* a name length, frame count or buffer size of 0 or below */
    PI_ErrBufferTooSmall = -7410,     /* the caller's buffer cannot hold the answer */
    PI_ErrBadChunk = -7411,           /* a controls chunk that is truncated, too long, damaged or foreign */
    PI_ErrResourceFile = -7412,       /* the plug-in's .rsr file is missing, unreadable or malformed */
    PI_ErrMissingResource = -7413,    /* the .rsr file lacks a resource the plug-in names */
    PI_ErrBadGestalt = -7414,         /* the plug-in declared a gestalt the library does not accept */
    PI_ErrTooManyInserts = -7415,     /* PI_MaxInserts inserts exist already */
    PI_ErrBadSampleRate = -7416,      /* a sample rate outside 1..PI_MaxSampleRate */
    PI_ErrNoPlugIn = -7417,           /* the plug-in registered no effect group */
    PI_ErrNoWindow = -7418,           /* the insert's plug-in window is not open, or it has none to open */
    PI_ErrBadPort = -7419,            /* a window port of another version, or naming no window */
    PI_ErrWindowFailed = -7420        /* the system refused the plug-in its window (the host's window is gone, say) */
};

enum { PI_OpenVersion = 73, PI_MaxInserts = 255, PI_MaxSampleRate = 1536000 };

/* An insert (one instance of an effect type): a positive number, never 0, not reused while the
 * library stays loaded. */
typedef int32_t PI_Insert;

/* What _PI_GetRoutineDescriptor hands out; cast it to the selector's routine type below. */
typedef void(PI_CALL* PI_Routine)(void);

/* The four exports. */
typedef PI_Err(PI_CALL* PI_WinPlugInOpenProc)(int32_t version);
typedef PI_Err(PI_CALL* PI_WinPlugInCloseProc)(void);
typedef PI_Err(PI_CALL* PI_GetRoutineDescriptorProc)(int32_t selector, PI_Routine* routine);
typedef PI_Err(PI_CALL* PI_NewPlugInProc)(void);

enum PI_Selector {
    PI_SelGetGroupInfo = 1,
    PI_SelGetManufacturerName = 2,
    PI_SelGetGroupName = 3,
    PI_SelGetGroupGestalts = 4,
    PI_SelGetTypeInfo = 10,
    PI_SelGetTypeName = 11,
    PI_SelGetTypeGestalts = 12,
    PI_SelCreateInsert = 20,
    PI_SelDestroyInsert = 21,
    PI_SelRender = 22,
    PI_SelSetNotify = 23,
    PI_SelIdle = 24,
    PI_SelGetControlCount = 30,
    PI_SelGetControlInfo = 31,
    PI_SelGetControlName = 32,
    PI_SelGetControlText = 33,
    PI_SelFindControl = 34,
    PI_SelSetControlValue = 35,
    PI_SelGetChunkSize = 40,
    PI_SelSaveChunk = 41,
    PI_SelRestoreChunk = 42,
    PI_SelGetViewSize = 50,
    PI_SelOpenWindow = 51,
    PI_SelCloseWindow = 52,
    PI_SelDrawWindow = 53,
    PI_SelHighlightControl = 54,
    PI_SelControlAt = 55
    /* 56 to 59 are kept for the plug-in window. */
};

/* Four-character codes are held with the first character in the top byte: 'TNWK' is 0x544E574B. */

typedef struct PI_GroupInfo {
    uint32_t manufacturerID;
    int32_t version;
    int32_t typeCount; /* effect types are numbered 1..typeCount */
} PI_GroupInfo;

enum { PI_TypeRTAS = 1 };

typedef struct PI_TypeInfo {
    int32_t kind; /* PI_TypeRTAS */
    uint32_t typeID;
    uint32_t productID;
    int32_t configuration;     /* the third value the plug-in gave its type, as given */
    int32_t sampleRateSupport; /* as the plug-in declared it */
    int32_t inputFormat;       /* stem format codes */
    int32_t outputFormat;
    int32_t stemOption;        /* the stem definition's third value, as given */
    int32_t inputChannels;     /* what the render routine reads */
    int32_t outputChannels;    /* and writes */
} PI_TypeInfo;

enum { PI_ControlOnOff = 1, PI_ControlDiscrete = 2 };
enum { PI_ControlIsMasterBypass = 1, PI_ControlAutomatable = 2 };

/* Controls are numbered from 1. A control value is a signed 32-bit number: 0 (off) or 1 (on) for an
 * on/off control, the whole int32 range for a discrete one. The shown value is what a user sees:
 * 0 or 1, or the discrete step minimum..maximum. */
typedef struct PI_ControlInfo {
    uint32_t id;
    int32_t kind; /* PI_ControlOnOff or PI_ControlDiscrete */
    int32_t minimum; /* shown values */
    int32_t maximum;
    int32_t defaultShown;
    int32_t defaultValue; /* control values */
    int32_t value;
    int32_t shown;
    int32_t flags; /* PI_ControlIsMasterBypass, PI_ControlAutomatable */
} PI_ControlInfo;

/* What the plug-in tells a host that registered a notification routine. */
enum PI_Notification {
    PI_NotifyControlRequest = 1, /* the plug-in asks for a control change; value is the control value */
    PI_NotifyTouch = 2,          /* the user took hold of a control (value 0) */
    PI_NotifyRelease = 3         /* and let go of it (value 0) */
};
typedef void(PI_CALL* PI_NotifyProc)(void* user, PI_Insert insert, int32_t notification, int32_t controlIndex,
                                     int32_t value);

/* The plug-in window. A rectangle in pixels, right and bottom edges outside. */
typedef struct PI_ViewRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
} PI_ViewRect;

enum { PI_PortVersion = 1 };

/* The host's window the plug-in window goes into: an HWND on Windows, an X11 Window id on Linux (of the
 * display named by DISPLAY). The plug-in places its window at the bottom of the window's client area,
 * centred across it. */
typedef struct PI_WindowPort {
    int32_t version;  /* PI_PortVersion */
    int32_t reserved; /* 0 */
    uint64_t window;
} PI_WindowPort;

/* The routines, by selector. Names are filled with at most `length` characters and a terminating zero,
 * so `text` must hold length + 1 bytes. */
typedef PI_Err(PI_CALL* PI_GetGroupInfoProc)(PI_GroupInfo* info);
typedef PI_Err(PI_CALL* PI_GetManufacturerNameProc)(int32_t length, char* text);
typedef PI_Err(PI_CALL* PI_GetGroupNameProc)(int32_t length, char* text);
typedef PI_Err(PI_CALL* PI_GetGroupGestaltsProc)(int32_t* selectors, int32_t capacity, int32_t* count);
typedef PI_Err(PI_CALL* PI_GetTypeInfoProc)(int32_t type, PI_TypeInfo* info);
typedef PI_Err(PI_CALL* PI_GetTypeNameProc)(int32_t type, int32_t length, char* text);
typedef PI_Err(PI_CALL* PI_GetTypeGestaltsProc)(int32_t type, int32_t* selectors, int32_t capacity,
                                                int32_t* count);
typedef PI_Err(PI_CALL* PI_CreateInsertProc)(int32_t type, int32_t sampleRate, PI_Insert* insert);
typedef PI_Err(PI_CALL* PI_DestroyInsertProc)(PI_Insert insert);
typedef PI_Err(PI_CALL* PI_RenderProc)(PI_Insert insert, float** inputs, float** outputs, int32_t frames);
typedef PI_Err(PI_CALL* PI_SetNotifyProc)(PI_Insert insert, PI_NotifyProc notify, void* user);
typedef PI_Err(PI_CALL* PI_IdleProc)(PI_Insert insert);
typedef PI_Err(PI_CALL* PI_GetControlCountProc)(PI_Insert insert, int32_t* count);
typedef PI_Err(PI_CALL* PI_GetControlInfoProc)(PI_Insert insert, int32_t index, PI_ControlInfo* info);
typedef PI_Err(PI_CALL* PI_GetControlNameProc)(PI_Insert insert, int32_t index, int32_t length, char* text);
typedef PI_Err(PI_CALL* PI_GetControlTextProc)(PI_Insert insert, int32_t index, int32_t length, char* text);
typedef PI_Err(PI_CALL* PI_FindControlProc)(PI_Insert insert, uint32_t id, int32_t* index);
typedef PI_Err(PI_CALL* PI_SetControlValueProc)(PI_Insert insert, int32_t index, int32_t value);
typedef PI_Err(PI_CALL* PI_GetChunkSizeProc)(PI_Insert insert, int32_t* size);
typedef PI_Err(PI_CALL* PI_SaveChunkProc)(PI_Insert insert, void* data, int32_t capacity, int32_t* size);
typedef PI_Err(PI_CALL* PI_RestoreChunkProc)(PI_Insert insert, const void* data, int32_t size);
typedef PI_Err(PI_CALL* PI_GetViewSizeProc)(PI_Insert insert, PI_ViewRect* rect);
typedef PI_Err(PI_CALL* PI_OpenWindowProc)(PI_Insert insert, const PI_WindowPort* port);
typedef PI_Err(PI_CALL* PI_CloseWindowProc)(PI_Insert insert);
typedef PI_Err(PI_CALL* PI_DrawWindowProc)(PI_Insert insert, const PI_ViewRect* area);
typedef PI_Err(PI_CALL* PI_HighlightControlProc)(PI_Insert insert, int32_t index, int32_t highlighted,
                                                 int32_t colour);
typedef PI_Err(PI_CALL* PI_ControlAtProc)(PI_Insert insert, int32_t x, int32_t y, int32_t* index);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* TW_PI_HOST_INTERFACE_H */
