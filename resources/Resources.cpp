#include "resources/Resources.h"

#include <QtGlobal>

static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

void useWindowResources() {
    static const bool done = (registerResources(), true);
    (void)done;
}
