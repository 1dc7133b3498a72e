#include "imagelib/pix_bytes.h"
#include "imagelib/pix_codecs.h"

bool PixImageWMF::DecodeFile(PixFile* stream) {
    BYTE head[6];
    if (!pix::ReadExact(stream, head, sizeof head)) {
        return Fail("Not a WMF");
    }
    // Either the placeable header's key, or a plain metafile header:
    // type 1 or 2, a header of 9 words, version 1 or 3.
    const bool placeable = PixGet32(head) == 0x9AC6CDD7;
    const WORD type = PixGet16(head), words = PixGet16(head + 2), version = PixGet16(head + 4);
    const bool plain =
        (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
    return Fail(placeable || plain ? "WMF files are not supported" : "Not a WMF");
}
