// Picture files as the screens' controls open them: catalogue paths (with
// backslashes) made native, and a file of any format the program reads
// turned into a bitmap for the canvas.
#pragma once

#include <afxwin.h>

// Catalogue paths are written with backslashes; the image library opens
// native paths.
CString NativeFilePath(CString strPath);

// The picture of a file as a device-dependent bitmap: a BMP file as the GDI
// reads it, any other picture the image library reads (PNG, GIF...) through
// it. Null when the file does not load.
HBITMAP LoadPictureFile(const CString& strPath);
