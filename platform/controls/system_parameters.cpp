// SystemParametersInfoA for the non-client metrics. A program whose text is
// in an 8-bit encoding of its own (the program's TCVN3) sets the message
// font to a face that draws it, as users of such encodings set their
// system's message font; message boxes then show that text.
#include <cstring>
#include <mutex>

#include "controls/message_font.h"

namespace win::controls {
namespace {

LOGFONTA DialogFont(LONG weight = FW_NORMAL) {
    LOGFONTA font{};
    font.lfHeight = -11;  // 8 points: the dialog font's cell
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    std::strncpy(font.lfFaceName, "MS Sans Serif", LF_FACESIZE - 1);
    return font;
}

struct Parameters {
    std::mutex mutex;
    NONCLIENTMETRICSA metrics = Defaults();

    static NONCLIENTMETRICSA Defaults() {
        NONCLIENTMETRICSA m{};
        m.cbSize = sizeof m;
        m.iBorderWidth = 1;
        m.iScrollWidth = m.iScrollHeight = 16;
        m.iCaptionWidth = m.iCaptionHeight = 18;
        m.lfCaptionFont = DialogFont(FW_BOLD);
        m.iSmCaptionWidth = m.iSmCaptionHeight = 15;
        m.lfSmCaptionFont = DialogFont();
        m.iMenuWidth = m.iMenuHeight = 18;
        m.lfMenuFont = m.lfStatusFont = m.lfMessageFont = DialogFont();
        return m;
    }
};

Parameters& Current() {
    static Parameters* parameters = new Parameters;  // threads may ask while the process ends
    return *parameters;
}

}  // namespace

HFONT CreateMessageFont() {
    LOGFONTA font;
    {
        std::lock_guard lock(Current().mutex);
        font = Current().metrics.lfMessageFont;
    }
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return CreateFontIndirectA(&font);
}

}  // namespace win::controls

BOOL WINAPI SystemParametersInfoA(UINT action, UINT, PVOID data, UINT) {
    using win::controls::Current;
    auto* metrics = static_cast<NONCLIENTMETRICSA*>(data);
    if ((action != SPI_GETNONCLIENTMETRICS && action != SPI_SETNONCLIENTMETRICS) || !metrics ||
        metrics->cbSize != sizeof(NONCLIENTMETRICSA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(Current().mutex);
    if (action == SPI_GETNONCLIENTMETRICS)
        *metrics = Current().metrics;
    else
        Current().metrics = *metrics;
    return TRUE;
}
