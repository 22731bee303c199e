#include "effects/vectorgram/vectorgram.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    return new vectorgram(audioMaster);
}
