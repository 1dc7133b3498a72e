#include "common/globals.h"

CString g_strAppDir;
CFont g_fontUI;
