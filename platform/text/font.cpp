#include "text/font.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <fontconfig/fontconfig.h>

#include "text/cp1252.h"
#include "text/font_registry.h"

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace text {
namespace {

// The sizes a font may ask for, in pixels; anything beyond is clamped.
constexpr double kMinEm = 1.0;
constexpr double kMaxEm = 1000.0;
// lfHeight 0 asks for the default size: the cell of the system font.
constexpr int kDefaultCell = 16;

struct FaceChoice {
    std::string path;
    int index = 0;
    bool bold = false;
    bool italic = false;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The old bitmap dialog faces. They are drawn with the system's sans-serif
// face, sized so that the cell matches theirs: at 8 points (character height
// 11 pixels) their cell is 13 pixels, which the dialog base units rest on.
bool IsDialogBitmapFace(std::string_view name) {
    return EqualsIgnoringCase(name, "MS Sans Serif") || EqualsIgnoringCase(name, "MS Shell Dlg") ||
           EqualsIgnoringCase(name, "MS Shell Dlg 2") || EqualsIgnoringCase(name, "System");
}

std::string FaceNameOf(const LOGFONTA& description) {
    size_t length = strnlen(description.lfFaceName, LF_FACESIZE);
    std::string name(description.lfFaceName, length);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(name.begin());
    return name;
}

std::optional<FaceChoice> FromRegistry(const std::string& family, bool bold, bool italic) {
    std::vector<RegisteredFace> faces = FindRegisteredFamily(family);
    if (faces.empty()) return std::nullopt;
    auto mismatch = [&](const RegisteredFace& face) {
        return (face.bold != bold ? 2 : 0) + (face.italic != italic ? 1 : 0);
    };
    const RegisteredFace& best = *std::min_element(
        faces.begin(), faces.end(), [&](const RegisteredFace& a, const RegisteredFace& b) {
            return mismatch(a) < mismatch(b);
        });
    return FaceChoice{best.path, best.index, best.bold, best.italic};
}

// Starts fontconfig once; its caches are released when the program ends.
bool StartFontconfig() {
    static const bool started = [] {
        if (!FcInit()) return false;
        std::atexit(FcFini);
        return true;
    }();
    return started;
}

std::optional<FaceChoice> FromFontconfig(const std::string& family, int weight, bool italic) {
    if (!StartFontconfig()) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;

    std::optional<FaceChoice> choice;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        FaceChoice found;
        found.path = reinterpret_cast<const char*>(file);
        int index = 0, matchedWeight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        found.bold = matchedWeight >= FC_WEIGHT_DEMIBOLD;
        found.italic = slant != FC_SLANT_ROMAN;
        choice = found;
    }
    FcPatternDestroy(match);
    return choice;
}

}  // namespace

struct Font::Impl {
    FT_Face face = nullptr;
    bool synthBold = false;
};

int PointSizeToHeight(int tenthsOfPoint) {
    // 96 dots per inch, 720 tenths of a point per inch, rounded as MulDiv.
    long long magnitude = std::llabs(static_cast<long long>(tenthsOfPoint));
    return -static_cast<int>((magnitude * 96 + 360) / 720);
}

std::shared_ptr<Font> Font::Create(const LOGFONTA& description) {
    std::lock_guard<std::recursive_mutex> hold(FreeTypeLock());
    FT_Library library = FreeTypeLibrary();
    if (!library) return nullptr;

    const std::string requested = FaceNameOf(description);
    const bool dialogFace = IsDialogBitmapFace(requested);
    const int weight =
        description.lfWeight <= 0 ? FW_NORMAL : std::min<int>(description.lfWeight, 1000);
    const bool wantBold = weight >= FW_SEMIBOLD;
    const bool wantItalic = description.lfItalic != 0;

    std::optional<FaceChoice> choice;
    if (!requested.empty() && !dialogFace) choice = FromRegistry(requested, wantBold, wantItalic);
    if (!choice)
        choice = FromFontconfig(requested.empty() || dialogFace ? "sans-serif" : requested, weight,
                                wantItalic);
    if (!choice) return nullptr;

    FT_Face face = nullptr;
    if (FT_New_Face(library, choice->path.c_str(), choice->index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }

    std::shared_ptr<Font> font(new Font);
    font->impl_ = std::make_unique<Impl>();
    font->impl_->face = face;
    font->impl_->synthBold = wantBold && !choice->bold;
    font->family_ = face->family_name ? face->family_name : requested;
    font->path_ = choice->path;

    // Windows sizes a cell on the ascent and descent of the OS/2 table.
    const double unitsPerEm = face->units_per_EM;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double ascender = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
    double descender = os2 && os2->usWinDescent ? os2->usWinDescent : -face->descender;
    if (ascender + descender <= 0) {
        ascender = unitsPerEm * 0.8;
        descender = unitsPerEm * 0.2;
    }

    const long long height = std::clamp<long long>(description.lfHeight, -100000, 100000);
    long long cell = 0;
    if (height == 0)
        cell = kDefaultCell;
    else if (height > 0)
        cell = height;
    else if (dialogFace)
        cell = (-height * 13 + 5) / 11;
    double em = cell ? cell * unitsPerEm / (ascender + descender) : static_cast<double>(-height);
    em = std::clamp(em, kMinEm, kMaxEm);
    if (cell) cell = std::clamp<long long>(cell, 1, static_cast<long long>(kMaxEm * 2));
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);

    if (wantItalic && !choice->italic) {
        FT_Matrix shear = {0x10000, 0x366A, 0, 0x10000};  // about 12 degrees
        FT_Set_Transform(face, &shear, nullptr);
    }

    FontMetrics& m = font->metrics_;
    if (cell) {
        m.height = static_cast<int>(cell);
        m.ascent = static_cast<int>(std::lround(cell * ascender / (ascender + descender)));
        m.descent = m.height - m.ascent;
    } else {
        m.ascent = static_cast<int>(std::lround(ascender * em / unitsPerEm));
        m.descent = static_cast<int>(std::lround(descender * em / unitsPerEm));
        m.height = m.ascent + m.descent;
    }
    m.internalLeading = std::max(0, m.height - static_cast<int>(std::lround(em)));
    m.maxCharWidth = static_cast<int>(std::lround(face->max_advance_width * em / unitsPerEm));
    m.aveCharWidth = os2 && os2->xAvgCharWidth > 0
                         ? static_cast<int>(std::lround(os2->xAvgCharWidth * em / unitsPerEm))
                         : font->GlyphFor(U'x').advance;
    m.aveCharWidth = std::max(1, m.aveCharWidth);
    m.weight = weight;
    m.italic = wantItalic;
    m.underline = description.lfUnderline != 0;
    m.strikeOut = description.lfStrikeOut != 0;
    return font;
}

Font::~Font() {
    std::lock_guard<std::recursive_mutex> hold(FreeTypeLock());
    if (impl_ && impl_->face) FT_Done_Face(impl_->face);
}

TEXTMETRICA Font::TextMetrics() const {
    TEXTMETRICA tm{};
    tm.tmHeight = metrics_.height;
    tm.tmAscent = metrics_.ascent;
    tm.tmDescent = metrics_.descent;
    tm.tmInternalLeading = metrics_.internalLeading;
    tm.tmAveCharWidth = metrics_.aveCharWidth;
    tm.tmMaxCharWidth = metrics_.maxCharWidth;
    tm.tmWeight = metrics_.weight;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmItalic = metrics_.italic;
    tm.tmUnderlined = metrics_.underline;
    tm.tmStruckOut = metrics_.strikeOut;
    tm.tmPitchAndFamily = FF_SWISS | 0x06;  // variable pitch, TrueType
    tm.tmCharSet = ANSI_CHARSET;
    return tm;
}

int Font::MeasureWidth(std::string_view text) const {
    long long width = 0;
    for (unsigned char byte : text) width += GlyphFor(DecodeCp1252(byte)).advance;
    return static_cast<int>(std::min<long long>(width, INT_MAX));
}

const Glyph& Font::GlyphFor(char32_t code) const {
    std::lock_guard<std::recursive_mutex> hold(FreeTypeLock());
    auto cached = cache_.find(code);
    if (cached != cache_.end()) return cached->second;

    Glyph& glyph = cache_[code];
    // Control characters take no room and draw nothing.
    if (code < 0x20 || code == 0x7F) return glyph;

    FT_Face face = impl_->face;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
    if (impl_->synthBold) FT_GlyphSlot_Embolden(face->glyph);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return glyph;

    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int y = 0; y < glyph.rows; ++y) {
        const int sourceRow = bitmap.pitch < 0 ? glyph.rows - 1 - y : y;
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(sourceRow) * pitch;
        uint8_t* out = glyph.coverage.data() + static_cast<size_t>(y) * glyph.width;
        for (int x = 0; x < glyph.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
                out[x] = static_cast<uint8_t>(row[x] * 255 / levels);
            }
        }
    }
    return glyph;
}

}  // namespace text
