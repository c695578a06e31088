#include "shell/pages.h"

// Stand-in until the page is built: goes straight on.
PageResult ShowDestinationPage(HWND) { return 0; }
