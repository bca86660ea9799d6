#include "gui/common/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initResourcesOnce()
{
    Q_INIT_RESOURCE(korvex);
}

void initKorvexResources()
{
    static const bool done = (initResourcesOnce(), true);
    (void)done;
}
