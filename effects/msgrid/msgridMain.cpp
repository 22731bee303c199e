#include "effects/msgrid/msgrid.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    return new msgrid(audioMaster);
}
