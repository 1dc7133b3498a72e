// Window manager: window classes, the window tree, per-thread message queues,
// painting, mouse and keyboard input, timers, system colours and metrics.
#pragma once
#include "types.h"
