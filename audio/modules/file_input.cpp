#include "audio/modules/file_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/errors.h"
#include "audio/modules/module_report.h"

namespace {

struct FileInput {
    char* name;  // a path, or "-" for standard input
    ModuleEntry* entry;
    Engine* engine;
    FILE* file;
};

bool is_standard_input(const FileInput* in) { return strcmp(in->name, "-") == 0; }

int probe(const char*) { return 0; }

int query(ModuleInfo* info, int flags) {
    if (!info) return err_invalid_parameters;
    if (flags & query_module) {
        module_info_text(info->name, "Input From File");
        module_info_text(info->description, "Version 1.2");
    }
    if (flags & query_device_count) info->index_or_count = 2;
    if (flags & query_module) return 0;
    if (flags & query_device) {
        switch (info->index_or_count) {
            case 0:
                module_info_text(info->name, "*");
                module_info_text(info->description, "any file name");
                info->device_flags = 1;
                break;
            case 1:
                module_info_text(info->name, "-");
                module_info_text(info->description, "standard input");
                info->device_flags = 0;
                break;
            default: return err_invalid_parameters;
        }
    }
    return 0;
}

int create(void** instance, const char* name, ModuleEntry* entry, Engine* engine) {
    FileInput* in = static_cast<FileInput*>(malloc(sizeof(FileInput)));
    if (!in) return err_out_of_memory;
    in->entry = entry;
    in->engine = engine;
    in->file = nullptr;
    in->name = nullptr;
    if (!instance || !name || !*name) {
        module_report(engine, entry, "internal error", "null params or null/empty input name");
        free(in);
        return err_invalid_parameters;
    }
    in->name = strdup(name);
    if (!in->name) {
        free(in);
        return err_out_of_memory;
    }
    *instance = in;
    return 0;
}

int close_file(FileInput* in) {
    if (in->file && in->file != stdin) fclose(in->file);
    in->file = nullptr;
    return 0;
}

int destroy(void* instance) {
    FileInput* in = static_cast<FileInput*>(instance);
    if (!in) return 0;
    close_file(in);  // the engine closes first; this only guards against a lost handle
    free(in->name);
    free(in);
    return 0;
}

int open(void* instance) {
    FileInput* in = static_cast<FileInput*>(instance);
    if (!in) return err_internal;
    if (in->file) return 0;
    if (is_standard_input(in)) {
        in->file = stdin;
        return 0;
    }
    in->file = fopen(in->name, "rb");
    int error = in->file ? 0 : errno;
    // A directory opens on this system but cannot be read: refuse it here.
    struct stat info;
    if (in->file && fstat(fileno(in->file), &info) == 0 && S_ISDIR(info.st_mode)) {
        fclose(in->file);
        in->file = nullptr;
        error = EISDIR;
    }
    if (in->file) return 0;
    if (error == ENOENT) {
        module_report(in->engine, in->entry, "cannot open input file", "file not found");
        return err_no_such_file;
    }
    if (error == EACCES) {
        module_report(in->engine, in->entry, "cannot open input file", "permission denied");
        return err_permission_denied;
    }
    module_report(in->engine, in->entry, "cannot open input file", strerror(error));
    // The C library could not allocate the stream: out of memory, as any
    // other allocation of the player.
    return error == ENOMEM ? err_out_of_memory : err_open_failed;
}

int close(void* instance) {
    FileInput* in = static_cast<FileInput*>(instance);
    return in ? close_file(in) : err_internal;
}

// Returns what it got: a short read near the end of the file delivers the
// last bytes rather than dropping them. A read error looks like the end.
int read(void* instance, void* buffer, int count) {
    FileInput* in = static_cast<FileInput*>(instance);
    if (!in || !in->file) return err_internal;
    if (!buffer || count <= 0) return 0;
    return static_cast<int>(fread(buffer, 1, static_cast<size_t>(count), in->file));
}

int seek(void* instance, int64_t offset) {
    FileInput* in = static_cast<FileInput*>(instance);
    if (!in || !in->file || offset < 0) return -1;
    return fseeko(in->file, static_cast<off_t>(offset), SEEK_SET) == 0 ? 0 : -1;
}

unsigned get_caps(void* instance) {
    FileInput* in = static_cast<FileInput*>(instance);
    return in && !is_standard_input(in) ? unsigned{input_can_seek} : 0u;
}

int64_t get_size(void* instance) {
    FileInput* in = static_cast<FileInput*>(instance);
    if (!in || !in->file) return 0;
    int fd = fileno(in->file);
    struct stat info;
    if (fd <= 0 || fstat(fd, &info) != 0) return 0;
    return static_cast<int64_t>(info.st_size);
}

int send_message(void*, int, const void*, int) { return 0; }

}  // namespace

int file_input_register(void* descriptor) {
    InputModule* m = static_cast<InputModule*>(descriptor);
    *m = InputModule{probe, query, create,   destroy,  open,        close,
                     read,  seek,  get_caps, get_size, send_message};
    return 0;
}
