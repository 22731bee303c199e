// What a host may rely on for each shipped plug-in: the answers the effects document, the editor's
// size and where each of its widgets lies. The abusive host checks every answer against these.
#pragma once

#include "effectbase/VstAbi.h"

#include <string>
#include <vector>

struct WidgetPlace {
    const char* name;
    int left, top, right, bottom;
    // The host parameter it edits, or -1 for one that edits none (display-only, colours).
    VstInt32 parameter;
};

struct PluginFacts {
    const char* target;        // build target and file name
    const char* product;       // effGetProductString
    const char* effectName;    // effGetEffectName; null when the effect does not answer it
    VstInt32 uniqueID;
    VstInt32 numParams;
    VstInt32 numPrograms;
    VstIntPtr category;
    VstIntPtr vendorVersion;
    bool answersBypass;        // effSetBypass answers the flag it was given
    bool unknownIndexReadsError;  // texts of unknown parameters read "ERROR"; otherwise nothing is written
    float unknownParameter;    // getParameter of an unknown index
    int editorWidth, editorHeight;
    std::vector<WidgetPlace> widgets;  // every active widget, and one of each passive kind
};

inline const std::vector<PluginFacts>& allPlugins()
{
    static const std::vector<PluginFacts> facts = {
        {"squeezr_vst", "+squeezr", nullptr, fourCharCode('s', 'q', 'z', 'r'), 8, 10, kPlugCategUnknown, 0, true,
         false, 0.0f, 424, 285,
         {{"ratio knob", 5, 170, 71, 236, 0},
          {"threshold knob", 75, 170, 141, 236, 1},
          {"attack knob", 145, 170, 211, 236, 2},
          {"release knob", 215, 170, 281, 236, 3},
          {"knee knob", 285, 170, 351, 236, 5},
          {"makeup knob", 355, 170, 421, 236, 4},
          {"stereo link text button", 5, 250, 90, 268, 7},
          {"peak/rms text button", 105, 250, 190, 268, 6},
          {"colour target button", 395, 250, 412, 267, -1},
          {"logo", 5, 5, 419, 31, -1},
          {"magic eye", 145, 35, 279, 169, -1},
          {"knob caption", 5, 236, 69, 251, -1},
          {"bottom label", 0, 275, 424, 285, -1}}},
        {"msgrid_vst", "+msgrid", "+msgrid", fourCharCode('+', 'm', 's', 'g'), 3, 1, kPlugCategEffect, 1000, true,
         true, -1.0f, 350, 110,
         {{"mid gain slider", 5, 40, 345, 56, 0},
          {"side gain slider", 5, 60, 345, 76, 1},
          {"encode text button", 5, 79, 85, 97, 2},
          {"colour target button", 330, 80, 347, 97, -1},
          {"logo", 5, 5, 345, 31, -1},
          {"bottom label", 0, 100, 350, 110, -1}}},
        {"vectorgram_vst", "+vectorgram", "+vectorgram", fourCharCode('+', 'v', 'g', 'm'), 1, 1, kPlugCategEffect, 1000, false, true, -1.0f, 390,
         430,
         {{"display slider", 25, 380, 365, 396, 0},
          {"peak/bits text button", 5, 400, 65, 418, -1},
          {"colour target button", 370, 400, 387, 417, -1},
          {"vector display", 25, 35, 365, 375, -1},
          {"level meter", 5, 35, 20, 396, -1},
          {"logo", 5, 5, 385, 31, -1},
          {"bottom label", 0, 420, 390, 430, -1}}},
    };
    return facts;
}
