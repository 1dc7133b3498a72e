// Text engine throughput: measuring and drawing a dialog-sized line, and
// DrawText's word-wrapping layout.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "text/layout.h"

namespace {

std::shared_ptr<text::Font> DialogFont() {
    LOGFONTA lf{};
    lf.lfHeight = text::PointSizeToHeight(80);
    std::strcpy(lf.lfFaceName, "MS Sans Serif");
    return text::Font::Create(lf);
}

const char* kLine = "The quick brown fox jumps over the lazy dog 0123456789";

void MeasureLine(benchmark::State& state) {
    auto font = DialogFont();
    for (auto _ : state) benchmark::DoNotOptimize(font->MeasureWidth(kLine));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::strlen(kLine)));
}
BENCHMARK(MeasureLine);

void DrawLine(benchmark::State& state) {
    auto font = DialogFont();
    std::vector<uint32_t> pixels(400 * 20, 0xFFFFFF);
    text::PixelTarget target{pixels.data(), 400, 20, 400};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            text::DrawString(*font, target, RECT{0, 0, 400, 20}, 0, 2, kLine, {}));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::strlen(kLine)));
}
BENCHMARK(DrawLine);

void WrapParagraph(benchmark::State& state) {
    auto font = DialogFont();
    std::string paragraph;
    for (int i = 0; i < 10; ++i) paragraph += std::string(kLine) + " ";
    for (auto _ : state) {
        auto layout = text::LayoutText(paragraph, RECT{0, 0, 200, 1000}, DT_WORDBREAK, 13,
                                       [&](std::string_view s) { return font->MeasureWidth(s); });
        benchmark::DoNotOptimize(layout.lines.size());
    }
}
BENCHMARK(WrapParagraph);

}  // namespace
