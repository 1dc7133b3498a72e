// The framework's value classes: strings, arrays, text files and geometry.
// The window classes (afxwin.h) build on these.
#pragma once

#include "afxstr.h"
#include "afxcoll.h"
#include "afxfile.h"
#include "afxtypes.h"
