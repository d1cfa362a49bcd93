// The process-wide mouse interaction record of the skinned scroll bars.
#include "scrollbars/skinned_scroll_bars.h"

ScrollInteraction g_scrollInteraction;
