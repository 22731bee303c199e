// A plug-in carrying the framework's test editor, so hosts can open a real editor through the
// entry point before any product has one. Not shipped.
#include "tests/viewframework/TestEditor.h"

AudioEffect* createEffectInstance(audioMasterCallback host)
{
    return new TestEffect(host);
}
