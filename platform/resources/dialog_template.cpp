#include "resources/dialog_template.h"

#include <algorithm>

#include "resources/registry.h"
#include "text/cp1252.h"
#include "win/res.h"

namespace win::res {
namespace {

constexpr DWORD kSetFont = 0x40;  // DS_SETFONT

// A bounds-checked little-endian reader. Any read past the end sets `failed`
// and yields zeros, so a parse can check once at the end of each step.
class Reader {
public:
    Reader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    bool failed() const { return failed_; }
    size_t offset() const { return offset_; }

    uint16_t Word() {
        if (!Need(2)) return 0;
        uint16_t v = static_cast<uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
        offset_ += 2;
        return v;
    }
    uint32_t Dword() {
        uint32_t low = Word();
        return low | (static_cast<uint32_t>(Word()) << 16);
    }
    uint8_t Byte() {
        if (!Need(1)) return 0;
        return data_[offset_++];
    }
    // A NUL-terminated UTF-16 string, as Windows-1252.
    std::string String() {
        std::u16string units;
        while (true) {
            uint16_t unit = Word();
            if (failed_ || unit == 0) break;
            units += static_cast<char16_t>(unit);
        }
        return text::Utf16ToCp1252(units);
    }
    // 0x0000: nothing; 0xFFFF then an ordinal; otherwise a string.
    void StringOrOrdinal(std::string& text, int& ordinal) {
        if (!Need(2)) return;
        uint16_t first = static_cast<uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
        if (first == 0xFFFF) {
            offset_ += 2;
            ordinal = Word();
        } else {
            text = String();
        }
    }
    void Align4() {
        size_t padded = (offset_ + 3) & ~size_t(3);
        if (padded > size_) {
            // Padding after the last item may be missing.
            offset_ = size_;
            return;
        }
        offset_ = padded;
    }
    std::vector<uint8_t> Bytes(size_t count) {
        if (!Need(count)) return {};
        std::vector<uint8_t> out(data_ + offset_, data_ + offset_ + count);
        offset_ += count;
        return out;
    }

private:
    bool Need(size_t count) {
        if (failed_ || count > size_ - offset_) {
            failed_ = true;
            return false;
        }
        return true;
    }
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
    bool failed_ = false;
};

std::string ClassName(const std::string& text, int ordinal) {
    switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: break;
    }
    if (ordinal < 0) return text;
    std::string name(1, '#');
    name += std::to_string(ordinal);
    return name;
}

}  // namespace

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate& out) {
    out = DialogTemplate{};
    if (!data) return false;
    Reader in(data, size);
    const bool extended = size >= 4 && in.Word() == 1 && in.Word() == 0xFFFF;
    if (!extended) in = Reader(data, size);

    uint16_t count = 0;
    if (extended) {
        out.helpId = in.Dword();
        out.exStyle = in.Dword();
        out.style = in.Dword();
    } else {
        out.style = in.Dword();
        out.exStyle = in.Dword();
    }
    count = in.Word();
    out.x = static_cast<short>(in.Word());
    out.y = static_cast<short>(in.Word());
    out.cx = static_cast<short>(in.Word());
    out.cy = static_cast<short>(in.Word());
    in.StringOrOrdinal(out.menu, out.menuId);
    int classOrdinal = -1;
    in.StringOrOrdinal(out.className, classOrdinal);
    if (classOrdinal >= 0) out.className = ClassName("", classOrdinal);
    out.title = in.String();
    if ((out.style & kSetFont) != 0) {
        out.hasFont = true;
        out.pointSize = in.Word();
        if (extended) {
            out.weight = in.Word();
            out.italic = in.Byte() != 0;
            out.charSet = in.Byte();
        }
        out.faceName = in.String();
    }
    if (in.failed()) return false;

    // Every item takes at least 24 bytes: a huge count in a small template
    // must not reserve memory it cannot fill.
    out.items.reserve(std::min<size_t>(count, size / 24));
    for (uint16_t i = 0; i < count; ++i) {
        in.Align4();
        DialogItemTemplate item;
        if (extended) {
            item.helpId = in.Dword();
            item.exStyle = in.Dword();
            item.style = in.Dword();
        } else {
            item.style = in.Dword();
            item.exStyle = in.Dword();
        }
        item.x = static_cast<short>(in.Word());
        item.y = static_cast<short>(in.Word());
        item.cx = static_cast<short>(in.Word());
        item.cy = static_cast<short>(in.Word());
        if (extended)
            item.id = static_cast<int>(in.Dword());
        else
            item.id = static_cast<short>(in.Word());
        int ordinal = -1;
        in.StringOrOrdinal(item.className, ordinal);
        item.className = ClassName(item.className, ordinal);
        in.StringOrOrdinal(item.text, item.textId);
        // The classic format counts its size word in the creation data.
        uint16_t extra = in.Word();
        if (!extended) extra = extra >= 2 ? extra - 2 : 0;
        item.creationData = in.Bytes(extra);
        if (in.failed()) return false;
        out.items.push_back(std::move(item));
    }
    return true;
}

bool LoadDialogTemplate(LPCSTR name, DialogTemplate& out) {
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!FindData(name, RT_DIALOG, &data, &size)) return false;
    return ParseDialogTemplate(data, size, out);
}

}  // namespace win::res
