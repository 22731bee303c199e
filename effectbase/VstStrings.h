// Bounded string copies and the number formatters of the effect base.
#pragma once

#include "effectbase/VstAbi.h"

// Copies at most n characters and always writes a zero at destination[n]: destination holds n + 1 bytes.
void vst_strncpy(char* destination, const char* source, VstInt32 n);
// Appends as much of source as fits in n characters in all; destination holds n + 1 bytes.
void vst_strncat(char* destination, const char* source, VstInt32 n);

// Eight characters in all, counting the point and a minus sign; "Huge!" when that cannot hold the value.
void float2string(float value, char* text, VstInt32 n);
void int2string(VstInt32 value, char* text, VstInt32 n);
// 20 log10(value); "-oo" for 0 and below.
void dB2string(float value, char* text, VstInt32 n);
