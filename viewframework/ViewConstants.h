// The framework's numbered choices: font faces, style bits, shapes, alignment, raster and pen modes,
// and the button and modifier bits every mouse handler receives.
#pragma once

#include <cstdint>

enum : std::int32_t {
    kFaceSystem = 0,  // always bold
    kFaceHuge = 1,
    kFaceLarge = 2,
    kFaceNormal = 3,
    kFaceSmall = 4,
    kFaceSmaller = 5,
    kFaceTiny = 6,
    kFaceSymbol = 7,
    kFaceCount = 8,  // also "no face yet"
};

struct FontFace {
    const char* name;
    std::int32_t defaultSize;  // pixels
};

inline constexpr FontFace kFontTable[kFaceCount] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};

enum : std::int32_t {
    kFontBold = 1,
    kFontItalic = 2,
    kFontUnderline = 4,
    kFontCondensed = 8,
    kFontExpanded = 16,
};

enum : std::int32_t { kShapeStroked = 0, kShapeFilled = 1, kShapeFilledStroked = 2 };
enum : std::int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };
enum : std::int32_t { kRasterCopy = 0, kRasterOr = 1, kRasterXor = 2, kRasterDefault = 3 };
enum : std::int32_t { kPenSolid = 0, kPenDotted = 1 };

enum : std::int32_t {
    kButtonLeft = 1,
    kButtonMiddle = 2,
    kButtonRight = 4,
    kModShift = 8,
    kModControl = 16,
    kModAlt = 32,
};

// A buttons argument of -1: not read yet, the receiver reads the live state itself.
inline constexpr std::int32_t kButtonsUnread = -1;
