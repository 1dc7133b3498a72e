// The Windows API subset the program and its libraries use, implemented by
// this layer on Linux. Names, constants and semantics follow Windows; the
// project's docs/layer.md says where and why the layer differs.
#pragma once

#include "win/controls.h"  // standard controls, message boxes, the shell
#include "win/gdi.h"       // device contexts, bitmaps, drawing
#include "win/kernel.h"    // threads, events, TLS, time, modules, files
#include "win/mmsystem.h"  // PlaySoundA, waveOut, mixer
#include "win/res.h"       // resources compiled into the executable
#include "win/text.h"      // fonts, text metrics, DrawText flags
#include "win/types.h"
#include "win/user.h"  // windows, messages, input, painting, dialogs
