// The framework's value classes: strings, arrays, text files and geometry.
// The window classes (afxwin.h) build on these.
#pragma once

#include "afxcoll.h"
#include "afxfile.h"
#include "afxstr.h"
#include "afxtypes.h"
