// Windows of a class the caller registers itself, whose every message the system's default procedure
// answers: plain containers a plug-in puts into a host's window and builds its own window inside.
// The class is described in the terms of Windows' extended class record; the error numbers are
// Windows' own on every system, so callers test one set of numbers.
#pragma once

#include "platform/ModuleFile.h"

#include <cstdint>

namespace platform {

// Class styles: redraw the whole window when its width or height changes.
constexpr std::uint32_t kClassRedrawHorizontal = 0x0002;
constexpr std::uint32_t kClassRedrawVertical = 0x0001;

// Window styles.
constexpr std::uint32_t kWindowChild = 0x40000000;
constexpr std::uint32_t kWindowVisible = 0x10000000;

// The system's stock application icon and arrow cursor, by resource number.
constexpr std::uint32_t kStockApplicationIcon = 0x7F00;
constexpr std::uint32_t kStockArrowCursor = 0x7F00;

// Errors a class or a window of one can meet.
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;
constexpr std::uint32_t kErrorNoParentForChild = 1406;
constexpr std::uint32_t kErrorClassNotFound = 1407;
constexpr std::uint32_t kErrorClassAlreadyExists = 1410;
constexpr std::uint32_t kErrorClassDoesNotExist = 1411;
constexpr std::uint32_t kErrorClassHasWindows = 1412;

enum class StockBrush { Black };

// What registering a class says about it.
struct WindowClassRecord {
    std::uint32_t recordSize = 0;  // WindowSystem::windowClassRecordSize(): the system checks it
    std::uint32_t style = 0;
    // Every message goes to the system's default procedure: there is no other choice here.
    ModuleHandle instance = 0;
    std::uint32_t icon = 0;    // a stock icon by resource number
    std::uint32_t cursor = 0;  // a stock cursor by resource number
    StockBrush background = StockBrush::Black;
    const char* menuName = nullptr;
    const char* className = nullptr;
};

}  // namespace platform
