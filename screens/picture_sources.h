// The two picture sources beside the catalogues: the pictures parents add
// to their own folder, and the drawings the child has saved. The colouring
// screens append them to their topic list and entries after reading the
// catalogues, so the topic boxes, the strip and the browse screen list them
// as they list every other picture:
//
// - "Tranh thêm - Added pictures": every PNG, BMP or GIF file in
//   AddedPicturesFolder(), sorted by name, each made colourable (outlines
//   on white, fitted into 600 x 400) and kept as a BMP file in
//   PreparedPicturesFolder(), made again when the added file changes. A
//   file that is not a picture, is empty, truncated or too large is left
//   out (and, marked there with its time, not tried again until it
//   changes).
// - "Tranh của em - My drawings": the PNG and BMP files in DrawingsFolder(),
//   newest first.
//
// Both topics are always there, the drawings last.
#pragma once

#include <afxwin.h>

#include "controls/coloring_canvas_ctrl.h"
#include "screens/catalogues.h"

// The topic names, in TCVN3 like those of "topic.txt".
inline constexpr const char kAddedPicturesTopic[] =
    "Tranh th\xAA"
    "m - Added pictures";
inline constexpr const char kMyDrawingsTopic[] =
    "Tranh c\xF1"
    "a em - My drawings";

// Bounds on what the folders may make a screen do: files listed from each,
// and the size of a file that is read at all.
inline constexpr int kMaxListedPictures = 1000;
inline constexpr long long kMaxPictureFileBytes = 256LL * 1024 * 1024;

// The drawings, newest first (full paths).
void ListDrawings(CStringArray& astrPaths);
// The added pictures that load, by name, as the paths of their colourable
// copies (made when missing or older than the file).
void ListAddedPictures(CStringArray& astrPaths);

// Makes the colourable copy of an added picture; FALSE when the file does
// not load as a picture or the copy cannot be written.
BOOL PrepareAddedPicture(const CString& strSource, const CString& strPrepared);

// Appends the two topics and their entries (an added picture or a drawing
// is its own sample on the sample screen).
void AppendPictureSources(CStringArray& astrTopics, CFreePictureArray& aEntries);
void AppendPictureSources(CStringArray& astrTopics, CSamplePictureArray& aEntries);

// Loads an entry's picture into the canvas; a saved drawing also gets the
// picture it was coloured from as what "start again" gives back.
void LoadEntryPicture(CColoringCanvasCtrl& canvas, const CString& strPath);

// What a save of the canvas records as the picture it was coloured from:
// the start-again picture of a drawing, else the loaded picture unless it
// is itself a drawing. Empty when unknown.
CString OriginalPictureOf(const CColoringCanvasCtrl& canvas);
