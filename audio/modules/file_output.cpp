#include "audio/modules/file_output.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/errors.h"
#include "audio/modules/module_report.h"

namespace {

enum Format { format_raw = 0, format_wav = 1, format_aiff = 2, format_sun = 3 };

struct FileOutput {
    char* name;
    ModuleEntry* entry;
    Engine* engine;
    FILE* file;
    uint64_t total;  // sample bytes written so far; past 4 GiB too
    long header_at;  // where the header went; -1: not known yet
    int sample_rate;
    int stereo;
    int format;
    int header_written;
};

int probe(const char*) { return 0; }

int query(ModuleInfo* info, int flags) {
    if (!info) return err_invalid_parameters;
    if (flags & query_module) {
        module_info_text(info->name, "Output To File");
        module_info_text(info->description, "Version 1.2");
    }
    if (flags & query_device_count) info->index_or_count = 3;
    if ((flags & query_module) || !(flags & query_device)) return 0;
    switch (info->index_or_count) {
        case 0:
            module_info_text(info->name, "*, or raw:*");
            module_info_text(info->description, "file name (raw PCM format)");
            info->device_flags = 1;
            return 0;
        case 1:
            module_info_text(info->name, "wav:*");
            module_info_text(info->description, "file name (WAV format)");
            info->device_flags = 1;
            return 0;
        case 2:
            module_info_text(info->name, "-");
            module_info_text(info->description, "standard output");
            info->device_flags = 0;
            return 0;
        default: return err_invalid_parameters;
    }
}

int create(void** instance, const char* name, ModuleEntry* entry, Engine* engine) {
    FileOutput* out = static_cast<FileOutput*>(calloc(1, sizeof(FileOutput)));
    if (!out) return err_out_of_memory;
    out->entry = entry;
    out->engine = engine;
    out->sample_rate = 44100;
    out->stereo = 1;
    if (!instance || !name || !*name) {
        module_report(engine, entry, "internal error", "null params or null/empty output name");
        free(out);
        return err_invalid_parameters;
    }
    out->name = strdup(name);
    if (!out->name) {
        free(out);
        return err_out_of_memory;
    }
    *instance = out;
    return 0;
}

void put16(uint8_t* p, unsigned v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

void write_wav_header(FileOutput* out) {
    unsigned channels = out->stereo ? 2 : 1;
    // The RIFF size field holds total + 36 in 32 bits: past 4 GiB both sizes
    // stay at the largest whole number of sample frames that fits.
    uint64_t limit = UINT32_MAX - 36;
    limit -= limit % (channels * 2);
    uint32_t total = static_cast<uint32_t>(out->total > limit ? limit : out->total);
    uint8_t h[44];
    memcpy(h, "RIFF", 4);
    put32(h + 4, total + 36);
    memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, channels);
    put32(h + 24, static_cast<uint32_t>(out->sample_rate));
    put32(h + 28, channels * static_cast<uint32_t>(out->sample_rate) * 2);
    put16(h + 32, channels * 2);
    put16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    put32(h + 40, total);
    fwrite(h, sizeof h, 1, out->file);
}

void write_header(FileOutput* out) {
    // Only WAV has a header; aiff and sun are written as bare samples.
    if (out->format == format_wav) write_wav_header(out);
}

void close_file(FileOutput* out) {
    if (!out->file) return;
    // The header is written again with the final sizes where it went first;
    // the stream is left at its end, so that whatever the process writes on
    // standard output afterwards follows the samples instead of covering them.
    if (out->format != format_raw) {
        long at = out->header_at >= 0 ? out->header_at : ftell(out->file);
        if (at >= 0 && fseek(out->file, at, SEEK_SET) == 0) {
            write_header(out);
            fseek(out->file, 0, SEEK_END);
        }
    }
    // Standard output stays usable for the rest of the process.
    if (out->file == stdout)
        fflush(out->file);
    else
        fclose(out->file);
    out->file = nullptr;
}

int destroy(void* instance) {
    FileOutput* out = static_cast<FileOutput*>(instance);
    if (!out) return 0;
    close_file(out);  // the engine closes first; this only guards against a lost handle
    free(out->name);
    free(out);
    return 0;
}

int open(void* instance) {
    FileOutput* out = static_cast<FileOutput*>(instance);
    if (!out) return err_internal;
    if (out->file) return 0;
    out->total = 0;
    out->header_at = -1;
    out->header_written = 0;
    out->sample_rate = 44100;
    out->stereo = 1;

    struct Prefix {
        const char* text;
        int format;
    };
    static const Prefix prefixes[] = {
        {"raw:", format_raw}, {"wav:", format_wav}, {"aiff:", format_aiff}, {"sun:", format_sun}};
    const char* path = out->name;
    out->format = format_raw;
    for (const Prefix& p : prefixes) {
        size_t length = strlen(p.text);
        if (strncmp(out->name, p.text, length) == 0) {
            out->format = p.format;
            path = out->name + length;
            break;
        }
    }

    if (strcmp(path, "-") == 0) {
        out->file = stdout;
        return 0;
    }
    out->file = fopen(path, "wb");
    if (out->file) {
        // A frame of stereo is 4608 bytes, more than the default buffer:
        // without a larger one every frame would be a system call.
        setvbuf(out->file, nullptr, _IOFBF, 1 << 16);
        return 0;
    }
    if (errno == EACCES) {
        module_report(out->engine, out->entry, "cannot open output file", "permission denied");
        return err_permission_denied;
    }
    module_report(out->engine, out->entry, "cannot open output file", strerror(errno));
    return err_open_failed;
}

int close(void* instance) {
    FileOutput* out = static_cast<FileOutput*>(instance);
    if (!out) return err_internal;
    close_file(out);
    return 0;
}

int write(void* instance, const void* samples, int size, int, int stereo, int sample_rate) {
    FileOutput* out = static_cast<FileOutput*>(instance);
    if (!out || !out->file || !samples || size <= 0) return 0;
    if (!out->header_written) {
        out->sample_rate = sample_rate;
        out->stereo = stereo ? 1 : 0;
        out->header_at = ftell(out->file);  // -1 on a pipe
        write_header(out);
        out->header_written = 1;
    }
    if (fwrite(samples, static_cast<size_t>(size), 1, out->file) != 1) return 0;
    out->total += static_cast<uint64_t>(size);
    return size;
}

}  // namespace

int file_output_register(void* descriptor) {
    OutputModule* m = static_cast<OutputModule*>(descriptor);
    *m = OutputModule{probe,   query,   create,  destroy, open,    close,  write,
                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return 0;
}
