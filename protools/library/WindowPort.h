// The host's window port: what a host hands the library for the plug-in window. The library turns it
// into the native window the plug-in's window goes into.
#pragma once

#include "platform/PlatformTypes.h"
#include "protools/library/include/PIHostInterface.h"

// The port's window; 0 for a port of another version or without a window.
platform::NativeWindow nativeWindowOfPort(const PI_WindowPort* port);
