// Keeps the system's graphics libraries loaded for the whole test program, as every desktop host
// does. The plug-ins pull Cairo (and with it pixman, fontconfig, X11) in when loaded; were those
// unloaded again with the plug-in, their lasting caches would read as leaks of an unknown module.
#include <cairo.h>

namespace {
[[maybe_unused]] const int cairoInUse = cairo_version();
}  // namespace
