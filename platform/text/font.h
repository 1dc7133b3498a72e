// A font of the text engine: a face found from a LOGFONTA description (the
// process font table first, then fontconfig), set to a pixel size, with its
// metrics and a cache of rendered glyphs.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "win/text.h"

namespace text {

// One glyph's coverage, 0..255 per pixel, rows top-down. left/top place the
// bitmap relative to the pen position on the baseline (top is upwards).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

struct FontMetrics {
    int height = 0;  // the cell: ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class Font {
public:
    // Opens the face that best matches `description`. Never fails while the
    // system has any scalable font: an unknown family falls back to the
    // system's sans-serif face. Returns null only when no face can be opened.
    static std::shared_ptr<Font> Create(const LOGFONTA& description);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontMetrics& Metrics() const { return metrics_; }
    // The family actually used and the file it came from.
    const std::string& FamilyName() const { return family_; }
    const std::string& FilePath() const { return path_; }
    // TEXTMETRICA as GetTextMetrics reports it.
    TEXTMETRICA TextMetrics() const;

    // Width of the Windows-1252 string in pixels (sum of the advances).
    int MeasureWidth(std::string_view text) const;
    // The glyph of a code point (rendered once, then cached). The returned
    // reference stays valid for the life of the font.
    const Glyph& GlyphFor(char32_t code) const;

private:
    Font() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    FontMetrics metrics_;
    std::string family_;
    std::string path_;
    mutable std::unordered_map<char32_t, Glyph> cache_;
};

// lfHeight for a size in tenths of a point at 96 dots per inch, as
// CreatePointFont computes it (a negative character height).
int PointSizeToHeight(int tenthsOfPoint);

}  // namespace text
