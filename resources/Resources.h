#pragma once

// Registers the pictures and the icon that the windows show. A static library's resources are
// not registered by themselves; every window calls this, and only the first call does anything.
void useWindowResources();
