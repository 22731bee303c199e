// The data of a drag in progress. No view accepts drops, so the dragged items are never read; the
// object only marks that a drag is under way.
#pragma once

#include "viewframework/CReferenceCounter.h"

class CDragContainer : public CReferenceCounter {};
