#include "audio/message.h"

#include <cstdlib>
#include <cstring>

#include "audio/errors.h"

namespace {

enum Shape {
    shape_refused,
    shape_none,
    shape_value_lparam,
    shape_value_wparam,
    shape_two_values,
    shape_string,
    shape_block,
    shape_string_id,
    shape_short,
    shape_string_value,
    shape_two_strings,
    shape_volume,
    shape_byte,
    shape_byte_short,
    shape_four_bytes,
    shape_stream_info,
    shape_module_info,
    shape_device_info,
    shape_byte_at_2,
    shape_byte_at_1,
    shape_equalizer,
    shape_progress,
    shape_debug,
    shape_error,
    shape_snapshot,
    shape_three_values,
};

// Shapes by code, 0 to 113.
const unsigned char shapes[] = {
    shape_refused,
    // 1-9
    shape_none,
    shape_value_lparam,
    shape_none,
    shape_none,
    shape_none,
    shape_two_values,
    shape_string,
    shape_none,
    shape_block,
    // 10-19
    shape_string_id,
    shape_string_id,
    shape_none,
    shape_string,
    shape_short,
    shape_none,
    shape_string,
    shape_none,
    shape_block,
    shape_none,
    // 20-29
    shape_none,
    shape_none,
    shape_none,
    shape_string_id,
    shape_string_id,
    shape_none,
    shape_string,
    shape_short,
    shape_none,
    shape_value_wparam,
    // 30-39
    shape_none,
    shape_string_value,
    shape_string,
    shape_two_strings,
    shape_string,
    shape_string,
    shape_string,
    shape_none,
    shape_short,
    shape_none,
    // 40-49
    shape_value_lparam,
    shape_none,
    shape_value_lparam,
    shape_none,
    shape_string,
    shape_none,
    shape_short,
    shape_none,
    shape_volume,
    shape_none,
    // 50-59
    shape_byte,
    shape_none,
    shape_byte,
    shape_none,
    shape_byte,
    shape_none,
    shape_byte,
    shape_none,
    shape_equalizer,
    shape_none,
    // 60-69
    shape_value_lparam,
    shape_none,
    shape_byte,
    shape_none,
    shape_none,
    shape_byte,
    shape_byte_short,
    shape_value_lparam,
    shape_none,
    shape_byte,
    // 70-79
    shape_value_wparam,
    shape_string_value,
    shape_two_strings,
    shape_byte,
    shape_string,
    shape_value_wparam,
    shape_two_values,
    shape_value_lparam,
    shape_four_bytes,
    shape_value_lparam,
    // 80-89
    shape_value_wparam,
    shape_stream_info,
    shape_short,
    shape_module_info,
    shape_device_info,
    shape_string_id,
    shape_byte,
    shape_string,
    shape_value_wparam,
    shape_refused,
    // 90-99
    shape_byte_at_2,
    shape_byte_at_1,
    shape_byte,
    shape_byte,
    shape_byte,
    shape_byte,
    shape_short,
    shape_module_info,
    shape_device_info,
    shape_string_id,
    // 100-109
    shape_byte,
    shape_equalizer,
    shape_value_lparam,
    shape_byte,
    shape_progress,
    shape_debug,
    shape_error,
    shape_snapshot,
    shape_three_values,
    shape_refused,
    // 110-113
    shape_refused,
    shape_refused,
    shape_snapshot,
    shape_three_values,
};
static_assert(sizeof shapes == 114);

Shape shape_of(unsigned code) { return code < sizeof shapes ? Shape(shapes[code]) : shape_refused; }

Shape shape_of_id(UINT id) {
    return id >= player_message_base ? shape_of(id - player_message_base) : shape_none;
}

// --- Heap copies -------------------------------------------------------------

char* heap_string(const char* text) {
    if (!text) text = "";
    size_t length = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(length));
    if (copy) memcpy(copy, text, length);
    return copy;
}

char* heap_pair(const char* a, const char* b) {
    if (!a) a = "";
    if (!b) b = "";
    size_t la = strlen(a) + 1, lb = strlen(b) + 1;
    char* copy = static_cast<char*>(malloc(la + lb));
    if (!copy) return nullptr;
    memcpy(copy, a, la);
    memcpy(copy + la, b, lb);
    return copy;
}

// Two bytes of size, big-endian, then the data.
unsigned char* heap_block(const void* data, unsigned size) {
    unsigned char* copy = static_cast<unsigned char*>(malloc(size + 2));
    if (!copy) return nullptr;
    copy[0] = static_cast<unsigned char>(size >> 8);
    copy[1] = static_cast<unsigned char>(size);
    memcpy(copy + 2, data, size);
    return copy;
}

bool carries_heap(Shape shape) {
    switch (shape) {
        case shape_string:
        case shape_block:
        case shape_string_id:
        case shape_string_value:
        case shape_two_strings:
        case shape_module_info:
        case shape_device_info:
        case shape_equalizer:
        case shape_progress:
        case shape_debug:
        case shape_error: return true;
        default: return false;
    }
}

// --- Unpacking into the string area ------------------------------------------

const char* area_string(char* area, LPARAM lparam) {
    const char* heap = reinterpret_cast<const char*>(lparam);
    if (!heap) heap = "";
    size_t length = strnlen(heap, control_string_area - 1);
    memcpy(area, heap, length);
    area[length] = '\0';
    return area;
}

void area_pair(char* area, LPARAM lparam, const char** a, const char** b) {
    const char* first = reinterpret_cast<const char*>(lparam);
    const char* second = "";
    if (first)
        second = first + strlen(first) + 1;
    else
        first = "";
    size_t la = strnlen(first, control_string_area - 1);
    memcpy(area, first, la);
    area[la] = '\0';
    *a = area;
    // The second string takes what is left; the last byte is a terminator.
    size_t start = la + 1;
    size_t room = control_string_area - start;  // includes the terminator
    if (room == 0) {
        *b = area + la;  // no room: the empty string at the first's terminator
        return;
    }
    size_t lb = strnlen(second, room - 1);
    memcpy(area + start, second, lb);
    area[start + lb] = '\0';
    *b = area + start;
}

// Copies a heap block's data (at most the area's size); returns its size.
unsigned area_block(char* area, LPARAM lparam, const void** data) {
    const unsigned char* heap = reinterpret_cast<const unsigned char*>(lparam);
    if (!heap) {
        *data = nullptr;
        return 0;
    }
    unsigned size = static_cast<unsigned>(heap[0]) << 8 | heap[1];
    if (size > static_cast<unsigned>(control_string_area)) size = control_string_area;
    memcpy(area, heap + 2, size);
    *data = area;
    return size;
}

uint8_t byte_of(WPARAM w, int index) { return static_cast<uint8_t>(w >> (8 * index)); }

}  // namespace

int message_build(unsigned code, const ControlArg* args, int count, PlayerMessage* message) {
    Shape shape = shape_of(code);
    if (shape == shape_refused) return err_invalid_message;
    auto arg = [&](int i) -> intptr_t { return i < count ? args[i].value : 0; };
    auto text = [&](int i) { return reinterpret_cast<const char*>(arg(i)); };
    auto u8 = [&](int i) { return static_cast<uint8_t>(arg(i)); };
    auto u16 = [&](int i) { return static_cast<uint16_t>(arg(i)); };
    auto u32 = [&](int i) { return static_cast<uint32_t>(arg(i)); };

    memset(message, 0, sizeof *message);
    message->code = code;
    PlayerPayload& p = message->payload;
    switch (shape) {
        case shape_refused:
        case shape_none: break;
        case shape_value_lparam:
        case shape_value_wparam: p.value = u32(0); break;
        case shape_two_values:
            p.values.a = u32(0);
            p.values.b = u32(1);
            break;
        case shape_string: p.text = text(0); break;
        case shape_block:
            p.block.type = u16(0);
            p.block.data = reinterpret_cast<const void*>(arg(1));
            p.block.size = u16(2);
            break;
        case shape_string_id:
            p.named.text = text(0);
            p.named.id = static_cast<int16_t>(arg(1));
            break;
        case shape_short: p.short_value = static_cast<int16_t>(arg(0)); break;
        case shape_string_value:
            p.text_value.text = text(0);
            p.text_value.value = u32(1);
            break;
        case shape_two_strings:
            p.texts.a = text(0);
            p.texts.b = text(1);
            break;
        case shape_volume:  // balance, PCM level, master level
            p.volume.balance = u8(0);
            p.volume.pcm_level = u8(1);
            p.volume.master_level = u8(2);
            break;
        case shape_byte: p.byte = u8(0); break;
        case shape_byte_short:
            p.byte_short.a = u8(0);
            p.byte_short.b = static_cast<int16_t>(arg(1));
            break;
        case shape_four_bytes:
            for (int i = 0; i < 4; ++i) p.four[i] = u8(i);
            break;
        case shape_stream_info:
            p.stream_info.level = u8(0);
            p.stream_info.layer = u8(1);
            p.stream_info.bitrate = u16(2);
            p.stream_info.frequency = u16(3);
            p.stream_info.mode = u8(4);
            break;
        case shape_module_info:
            p.module_info.id = u8(0);
            p.module_info.count = u8(1);
            p.module_info.name = text(2);
            p.module_info.description = text(3);
            break;
        case shape_device_info:
            p.device_info.id = u8(0);
            p.device_info.index = u8(1);
            p.device_info.flags = u8(2);
            p.device_info.name = text(3);
            p.device_info.description = text(4);
            break;
        case shape_byte_at_2: p.bytes[2] = u8(0); break;
        case shape_byte_at_1: p.bytes[1] = u8(0); break;
        case shape_equalizer: p.equalizer = reinterpret_cast<const void*>(arg(0)); break;
        case shape_progress:
            p.progress.source = u8(0);
            p.progress.code = u8(1);
            p.progress.value = static_cast<int16_t>(arg(2));
            p.progress.text = text(3);
            break;
        case shape_debug:
            p.debug.source = u8(0);
            p.debug.level = u8(1);
            p.debug.text = text(2);
            break;
        case shape_error:
            p.error.source = u8(0);
            p.error.code = static_cast<int16_t>(arg(1));
            p.error.text = text(2);
            break;
        case shape_snapshot:
            p.snapshot.seconds = u32(0);
            p.snapshot.microseconds = u32(1);
            p.snapshot.channels = u16(2);
            p.snapshot.size = u16(3);
            p.snapshot.data = reinterpret_cast<const void*>(arg(4));
            break;
        case shape_three_values:
            p.three.a = u32(0);
            p.three.b = u32(1);
            p.three.c = u32(2);
            break;
    }
    return 0;
}

int message_pack(const PlayerMessage* message, WPARAM* wparam, LPARAM* lparam) {
    const PlayerPayload& p = message->payload;
    WPARAM w = 0;
    LPARAM l = 0;
    void* heap = nullptr;
    bool needs_heap = false;
    // 32-bit values are sign-extended into lParam and zero-extended into
    // wParam; the receiver takes the low 32 bits back, so both round-trip.
    auto signed32 = [](uint32_t v) { return static_cast<LPARAM>(static_cast<int32_t>(v)); };
    switch (shape_of(message->code)) {
        case shape_refused: return err_invalid_message;
        case shape_none:
        case shape_snapshot:
        case shape_three_values: break;
        case shape_value_lparam: l = signed32(p.value); break;
        case shape_value_wparam: w = p.value; break;
        case shape_two_values:
            w = p.values.a;
            l = signed32(p.values.b);
            break;
        case shape_string:
            needs_heap = true;
            heap = heap_string(p.text);
            break;
        case shape_block:
            w = p.block.type;
            if (p.block.data && p.block.size) {
                needs_heap = true;
                heap = heap_block(p.block.data, p.block.size);
            }
            break;
        case shape_string_id:
            w = static_cast<WPARAM>(static_cast<intptr_t>(p.named.id));
            needs_heap = true;
            heap = heap_string(p.named.text);
            break;
        case shape_short: w = static_cast<WPARAM>(static_cast<intptr_t>(p.short_value)); break;
        case shape_string_value:
            w = p.text_value.value;
            needs_heap = true;
            heap = heap_string(p.text_value.text);
            break;
        case shape_two_strings:
            needs_heap = true;
            heap = heap_pair(p.texts.a, p.texts.b);
            break;
        case shape_volume:
            w = p.volume.balance | p.volume.pcm_level << 8 | p.volume.master_level << 16;
            break;
        case shape_byte: w = p.byte; break;
        case shape_byte_short:
            w = p.byte_short.a;
            l = p.byte_short.b;
            break;
        case shape_four_bytes:
            w = p.four[0] | p.four[1] << 8 | p.four[2] << 16 | static_cast<WPARAM>(p.four[3]) << 24;
            break;
        case shape_stream_info:
            w = p.stream_info.level | p.stream_info.layer << 8 | p.stream_info.mode << 16;
            l = static_cast<LPARAM>(p.stream_info.bitrate |
                                    static_cast<uint32_t>(p.stream_info.frequency) << 16);
            break;
        case shape_module_info:
            w = p.module_info.id | p.module_info.count << 8;
            needs_heap = true;
            heap = heap_pair(p.module_info.name, p.module_info.description);
            break;
        case shape_device_info:
            w = p.device_info.id | p.device_info.index << 8 | p.device_info.flags << 16;
            needs_heap = true;
            heap = heap_pair(p.device_info.name, p.device_info.description);
            break;
        case shape_byte_at_2: w = p.bytes[2]; break;
        case shape_byte_at_1: w = p.bytes[1]; break;
        case shape_equalizer:
            if (p.equalizer) {
                needs_heap = true;
                heap = heap_block(p.equalizer, 64);
            }
            break;
        case shape_progress:
            w = p.progress.source | p.progress.code << 8 |
                static_cast<WPARAM>(static_cast<uint16_t>(p.progress.value)) << 16;
            needs_heap = true;
            heap = heap_string(p.progress.text);
            break;
        case shape_debug:
            w = p.debug.source | p.debug.level << 8;
            needs_heap = true;
            heap = heap_string(p.debug.text);
            break;
        case shape_error:
            w = p.error.source | static_cast<WPARAM>(static_cast<uint16_t>(p.error.code)) << 16;
            needs_heap = true;
            heap = heap_string(p.error.text);
            break;
    }
    if (needs_heap) {
        if (!heap) return err_out_of_memory;
        l = reinterpret_cast<LPARAM>(heap);
    }
    *wparam = w;
    *lparam = l;
    return 0;
}

void message_unpack_into(UINT id, WPARAM w, LPARAM l, char* area, PlayerMessage* message) {
    memset(message, 0, sizeof *message);
    message->code = id - player_message_base;
    PlayerPayload& p = message->payload;
    Shape shape = shape_of_id(id);
    auto low32 = [](uintptr_t v) { return static_cast<uint32_t>(v); };
    switch (shape) {
        case shape_refused:
        case shape_none:
        case shape_snapshot:
        case shape_three_values: break;
        case shape_value_lparam: p.value = low32(static_cast<uintptr_t>(l)); break;
        case shape_value_wparam: p.value = low32(w); break;
        case shape_two_values:
            p.values.a = low32(w);
            p.values.b = low32(static_cast<uintptr_t>(l));
            break;
        case shape_string: p.text = area_string(area, l); break;
        case shape_block: {
            p.block.type = static_cast<uint16_t>(w);
            p.block.size = static_cast<uint16_t>(area_block(area, l, &p.block.data));
            break;
        }
        case shape_string_id:
            p.named.id = static_cast<int16_t>(w);
            p.named.text = area_string(area, l);
            break;
        case shape_short: p.short_value = static_cast<int16_t>(w); break;
        case shape_string_value:
            p.text_value.value = low32(w);
            p.text_value.text = area_string(area, l);
            break;
        case shape_two_strings: area_pair(area, l, &p.texts.a, &p.texts.b); break;
        case shape_volume:
            p.volume.balance = byte_of(w, 0);
            p.volume.pcm_level = byte_of(w, 1);
            p.volume.master_level = byte_of(w, 2);
            break;
        case shape_byte: p.byte = byte_of(w, 0); break;
        case shape_byte_short:
            p.byte_short.a = byte_of(w, 0);
            p.byte_short.b = static_cast<int16_t>(l);
            break;
        case shape_four_bytes:
            for (int i = 0; i < 4; ++i) p.four[i] = byte_of(w, i);
            break;
        case shape_stream_info:
            p.stream_info.level = byte_of(w, 0);
            p.stream_info.layer = byte_of(w, 1);
            p.stream_info.mode = byte_of(w, 2);
            p.stream_info.bitrate = static_cast<uint16_t>(l);
            p.stream_info.frequency = static_cast<uint16_t>(low32(static_cast<uintptr_t>(l)) >> 16);
            break;
        case shape_module_info:
            p.module_info.id = byte_of(w, 0);
            p.module_info.count = byte_of(w, 1);
            area_pair(area, l, &p.module_info.name, &p.module_info.description);
            break;
        case shape_device_info:
            p.device_info.id = byte_of(w, 0);
            p.device_info.index = byte_of(w, 1);
            p.device_info.flags = byte_of(w, 2);
            area_pair(area, l, &p.device_info.name, &p.device_info.description);
            break;
        case shape_byte_at_2: p.bytes[2] = byte_of(w, 0); break;
        case shape_byte_at_1: p.bytes[1] = byte_of(w, 0); break;
        case shape_equalizer: area_block(area, l, &p.equalizer); break;
        case shape_progress:
            p.progress.source = byte_of(w, 0);
            p.progress.code = byte_of(w, 1);
            p.progress.value = static_cast<int16_t>(w >> 16);
            p.progress.text = area_string(area, l);
            break;
        case shape_debug:
            p.debug.source = byte_of(w, 0);
            p.debug.level = byte_of(w, 1);
            p.debug.text = area_string(area, l);
            break;
        case shape_error:
            p.error.source = byte_of(w, 0);
            p.error.code = static_cast<int16_t>(w >> 16);
            p.error.text = area_string(area, l);
            break;
    }
    if (carries_heap(shape)) free(reinterpret_cast<void*>(l));
}

void message_discard(UINT id, LPARAM lparam) {
    if (carries_heap(shape_of_id(id))) free(reinterpret_cast<void*>(lparam));
}
