#include "gdi/text_font.h"

#include <map>
#include <mutex>
#include <string>

namespace win::gdi {

std::shared_ptr<text::Font> EngineFont(const Dc* dc) {
    LOGFONTA log{};
    if (dc && dc->font) {
        log = dc->font->log;
    } else if (auto* stock = static_cast<Font*>(Stock(SYSTEM_FONT))) {
        log = stock->log;
    }
    // The whole description is the key: two fonts that differ in any field
    // may render differently.
    std::string key(reinterpret_cast<const char*>(&log), sizeof log);
    static std::mutex lock;
    static auto* cache = new std::map<std::string, std::shared_ptr<text::Font>>;
    std::lock_guard<std::mutex> guard(lock);
    auto& slot = (*cache)[key];
    if (!slot) slot = text::Font::Create(log);
    return slot;
}

}  // namespace win::gdi
