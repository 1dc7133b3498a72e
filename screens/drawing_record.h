// The small file the program keeps beside each saved drawing, named after
// it with ".tintorama" added, which records the uncoloured picture the
// drawing was coloured from, so that "start again" can give it back:
//
//     Tintorama drawing
//     picture=<path>
//
// The path is "app:" and a path relative to the program directory (a
// catalogue picture), or an added picture made colourable, by its full
// path. A record is outside data when read: anything else in it, a path
// that leaves those folders, or a file larger than a few kilobytes reads
// as no record.
#pragma once

#include <afxwin.h>

// The record's file for a drawing.
CString DrawingRecordPath(const CString& strDrawing);

// Records strPicture as strDrawing's picture; an empty strPicture (or one
// no record can name) removes the drawing's record. FALSE when the record
// could not be written.
BOOL WriteDrawingRecord(const CString& strDrawing, const CString& strPicture);

// The picture recorded for strDrawing, as a full path; empty when there is
// no readable, well-formed record naming an allowed place.
CString ReadDrawingRecord(const CString& strDrawing);

// The record's text for a picture path, and the picture path back from a
// record's text, both against the program directory and the folder of
// colourable added pictures given. Empty when not allowed.
CString DrawingRecordText(const CString& strPicture, const CString& strAppDir,
                          const CString& strPreparedFolder);
CString PictureFromRecordText(const CString& strText, const CString& strAppDir,
                              const CString& strPreparedFolder);
