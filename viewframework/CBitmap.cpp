#include "viewframework/CBitmap.h"

void CBitmap::draw(CDrawContext*, const ViewRect&, ViewPoint)
{
    // No bitmap carries pixels here.
}
