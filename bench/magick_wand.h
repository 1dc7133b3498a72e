// The few entry points of ImageMagick's MagickWand library that the image
// benchmarks compare against, found at run time so that the build needs
// nothing extra.
#pragma once
#include <dlfcn.h>
#include <sys/types.h>

#include <cstdlib>

struct MagickWandApi {
    void* library = nullptr;
    void (*genesis)();
    void* (*newWand)();
    void* (*destroyWand)(void*);
    int (*read)(void*, const char*);
    int (*thumbnail)(void*, size_t, size_t);
    void* (*newPixel)();
    void* (*destroyPixel)(void*);
    int (*setColour)(void*, const char*);
    int (*setBackground)(void*, const void*);
    int (*extent)(void*, size_t, size_t, ssize_t, ssize_t);
    int (*write)(void*, const char*);

    // Loaded once, on one thread as our image library uses; null when the
    // library is not installed.
    static const MagickWandApi* Get() {
        static MagickWandApi api;
        static const bool loaded = [] {
            setenv("MAGICK_THREAD_LIMIT", "1", 1);
            bool ok = api.Load();
            if (ok) api.genesis();
            return ok;
        }();
        return loaded ? &api : nullptr;
    }

    // Reads `input`, fits it in 145 x 96 and centres it on a white 145 x 142
    // cell, as the thumbnail control does; writes it to `output` if given.
    bool Thumbnail(const char* input, const char* output = nullptr) const {
        void* w = newWand();
        void* white = newPixel();
        setColour(white, "white");
        bool ok = read(w, input) && thumbnail(w, 145, 96) && setBackground(w, white) &&
                  extent(w, 145, 142, 0, -23) && (!output || write(w, output));
        destroyPixel(white);
        destroyWand(w);
        return ok;
    }

private:
    template <class F>
    bool Find(F& f, const char* name) {
        f = reinterpret_cast<F>(dlsym(library, name));
        return f != nullptr;
    }
    bool Load() {
        library = dlopen("libMagickWand-6.Q16.so.6", RTLD_NOW);
        return library && Find(genesis, "MagickWandGenesis") && Find(newWand, "NewMagickWand") &&
               Find(destroyWand, "DestroyMagickWand") && Find(read, "MagickReadImage") &&
               Find(thumbnail, "MagickThumbnailImage") && Find(newPixel, "NewPixelWand") &&
               Find(destroyPixel, "DestroyPixelWand") && Find(setColour, "PixelSetColor") &&
               Find(setBackground, "MagickSetImageBackgroundColor") &&
               Find(extent, "MagickExtentImage") && Find(write, "MagickWriteImage");
    }
};
