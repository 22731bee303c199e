#include "effects/squeezr/squeezr.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    return new squeezr(audioMaster);
}
