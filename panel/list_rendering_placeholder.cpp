// Placeholder until the stream list's drawing lands: nothing drawn.
#include "host/plugin.h"

int CPlugin::OnDrawItem(WPARAM, DRAWITEMSTRUCT*) { return 0; }
