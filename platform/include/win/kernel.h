// Kernel services: threads, thread-local storage, events, waits, time,
// modules (LoadLibraryA/GetProcAddress on dlopen) and the module file name.
#pragma once
#include "types.h"
