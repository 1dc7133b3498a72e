// The file input and file output modules on real files, standard input and
// output, missing, unreadable and unwritable paths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/engine.h"
#include "audio/modules/file_input.h"
#include "audio/modules/file_output.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> g_reasons;
void record(void*, int, int, const char* message, const char* reason) {
    g_reasons.push_back(std::string(message) + " / " + reason);
}

std::string temp_path(const char* leaf) {
    static test_support::TempDir dir("audio_files");  // removed when the tests end
    return (dir / leaf).string();
}

void write_file(const std::string& path, size_t size) {
    std::ofstream f(path, std::ios::binary);
    for (size_t i = 0; i < size; ++i) f.put(static_cast<char>(i % 251));
}

std::vector<unsigned char> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
unsigned le16(const std::vector<unsigned char>& b, size_t at) { return b[at] | b[at + 1] << 8; }

// Runs `body` in a child process and returns its exit status; used where a
// test has to rewire standard input or output, or drop root's rights.
template <class Body>
int in_child(Body body) {
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

bool drop_root() { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); }

class FileModules : public ::testing::Test {
protected:
    void SetUp() override {
        g_reasons.clear();
        file_input_register(&in);
        file_output_register(&out);
        engine = engine_create(nullptr);
        engine->report_debug = record;
        entry.id = 3;
    }
    void TearDown() override { engine_destroy(engine); }

    void* open_input(const std::string& name, int* result) {
        void* instance = nullptr;
        EXPECT_EQ(in.new_instance(&instance, name.c_str(), &entry, engine), 0);
        *result = in.open(instance);
        return instance;
    }

    InputModule in{};
    OutputModule out{};
    Engine* engine = nullptr;
    ModuleEntry entry{};
};

TEST_F(FileModules, InputReadsEveryByteIncludingAShortLastBlock) {
    std::string path = temp_path("1000.bin");
    write_file(path, 1000);
    int result = 0;
    void* f = open_input(path, &result);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(in.get_caps(f), 1u);
    EXPECT_EQ(in.get_size(f), 1000);
    unsigned char buffer[400];
    EXPECT_EQ(in.read(f, buffer, 400), 400);
    EXPECT_EQ(in.read(f, buffer, 400), 400);
    EXPECT_EQ(in.read(f, buffer, 400), 200) << "the last 200 bytes are delivered";
    EXPECT_EQ(buffer[199], 999 % 251);
    EXPECT_EQ(in.read(f, buffer, 400), 0);

    EXPECT_EQ(in.seek(f, 998), 0);
    EXPECT_EQ(in.read(f, buffer, 400), 2);
    EXPECT_EQ(buffer[0], 998 % 251);
    EXPECT_NE(in.seek(f, -1), 0);
    EXPECT_EQ(in.close(f), 0);
    EXPECT_EQ(in.delete_instance(f), 0);
    EXPECT_EQ(in.delete_instance(nullptr), 0);
    unlink(path.c_str());
}

TEST_F(FileModules, InputOpenFailuresAreReportedAndCoded) {
    int result = 0;
    void* f = open_input(temp_path("missing"), &result);
    EXPECT_EQ(result, -513);
    in.delete_instance(f);
    // "--" is an ordinary (here missing) file, not standard input.
    f = open_input("--", &result);
    EXPECT_EQ(result, -513);
    in.delete_instance(f);
    // A directory cannot be read as a stream.
    f = open_input(::testing::TempDir(), &result);
    EXPECT_EQ(result, -500);
    in.delete_instance(f);
    ASSERT_EQ(g_reasons.size(), 3u);
    EXPECT_EQ(g_reasons[0], "cannot open input file / file not found");
    EXPECT_EQ(g_reasons[2], "cannot open input file / " + std::string(strerror(EISDIR)));

    void* none = nullptr;
    EXPECT_EQ(in.new_instance(&none, "", &entry, engine), -101);
    EXPECT_EQ(in.new_instance(&none, nullptr, &entry, engine), -101);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(g_reasons.back(), "internal error / null params or null/empty input name");
}

TEST_F(FileModules, InputUnreadableFileIsPermissionDenied) {
    std::string path = temp_path("secret.bin");
    write_file(path, 10);
    chmod(path.c_str(), 0);
    int status = in_child([&] {
        if (!drop_root()) return 2;
        int result = 0;
        void* f = nullptr;
        in.new_instance(&f, path.c_str(), &entry, engine);
        result = in.open(f);
        bool reported =
            !g_reasons.empty() && g_reasons.back() == "cannot open input file / permission denied";
        return result == -504 && reported ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    unlink(path.c_str());
}

TEST_F(FileModules, InputFromStandardInput) {
    int status = in_child([&] {
        int pipe_fds[2];
        if (pipe(pipe_fds) != 0) return 2;
        if (write(pipe_fds[1], "hello", 5) != 5) return 2;
        close(pipe_fds[1]);
        dup2(pipe_fds[0], 0);
        int result = 0;
        void* f = nullptr;
        in.new_instance(&f, "-", &entry, engine);
        result = in.open(f);
        char buffer[16] = {};
        bool ok = result == 0 && in.get_caps(f) == 0 && in.get_size(f) == 0 &&
                  in.read(f, buffer, 16) == 5 && strcmp(buffer, "hello") == 0 &&
                  in.read(f, buffer, 16) == 0;
        in.close(f);
        in.delete_instance(f);
        return ok ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
}

TEST_F(FileModules, InputQuery) {
    ModuleInfo info{};
    EXPECT_EQ(in.query(&info, 5), 0);
    EXPECT_STREQ(info.name, "Input From File");
    EXPECT_STREQ(info.description, "Version 1.2");
    EXPECT_EQ(info.device_flags, 0) << "a device query in the same call is ignored";
    EXPECT_EQ(in.query(&info, 2), 0);
    EXPECT_EQ(info.index_or_count, 2);
    info.index_or_count = 1;
    EXPECT_EQ(in.query(&info, 4), 0);
    EXPECT_STREQ(info.name, "-");
    EXPECT_STREQ(info.description, "standard input");
    info.index_or_count = 0;
    EXPECT_EQ(in.query(&info, 4), 0);
    EXPECT_EQ(info.device_flags, 1);
    info.index_or_count = 2;
    EXPECT_EQ(in.query(&info, 4), -101);
}

// --- Output ------------------------------------------------------------------

class FileOutput : public FileModules {
protected:
    void* open_output(const std::string& name, int* result) {
        void* instance = nullptr;
        EXPECT_EQ(out.new_instance(&instance, name.c_str(), &entry, engine), 0);
        *result = out.open(instance);
        return instance;
    }
};

TEST_F(FileOutput, WavFileHeaderCarriesFinalSizes) {
    std::string path = temp_path("one_second.wav");
    int result = 0;
    void* f = open_output("wav:" + path, &result);
    ASSERT_EQ(result, 0);
    std::vector<unsigned char> block(4608, 0x11);
    size_t written = 0;
    while (written < 176400) {
        int size = static_cast<int>(std::min<size_t>(block.size(), 176400 - written));
        EXPECT_EQ(out.write(f, block.data(), size, 2, 1, 44100), size);
        written += static_cast<size_t>(size);
    }
    EXPECT_EQ(out.close(f), 0);
    out.delete_instance(f);

    std::vector<unsigned char> bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 44u + 176400u);
    EXPECT_EQ(memcmp(bytes.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(bytes, 4), 176400u + 36u);
    EXPECT_EQ(memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(le32(bytes, 16), 16u);
    EXPECT_EQ(le16(bytes, 20), 1u);
    EXPECT_EQ(le16(bytes, 22), 2u);
    EXPECT_EQ(le32(bytes, 24), 44100u);
    EXPECT_EQ(le32(bytes, 28), 176400u);
    EXPECT_EQ(le16(bytes, 32), 4u);
    EXPECT_EQ(le16(bytes, 34), 16u);
    EXPECT_EQ(memcmp(bytes.data() + 36, "data", 4), 0);
    EXPECT_EQ(le32(bytes, 40), 176400u);
    EXPECT_EQ(bytes[44], 0x11);
    unlink(path.c_str());
}

TEST_F(FileOutput, FormatOfTheFirstWriteGoesIntoTheHeader) {
    std::string path = temp_path("mono.wav");
    int result = 0;
    void* f = open_output("wav:" + path, &result);
    short samples[100] = {};
    out.write(f, samples, sizeof samples, 2, 0, 22050);
    out.write(f, samples, sizeof samples, 2, 1, 44100);  // later changes are not reflected
    out.close(f);
    out.delete_instance(f);
    std::vector<unsigned char> bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 44u + 400u);
    EXPECT_EQ(le16(bytes, 22), 1u);
    EXPECT_EQ(le32(bytes, 24), 22050u);
    EXPECT_EQ(le32(bytes, 28), 44100u);
    EXPECT_EQ(le16(bytes, 32), 2u);
    EXPECT_EQ(le32(bytes, 40), 400u);
    unlink(path.c_str());
}

TEST_F(FileOutput, RawAndHeaderlessFormatsHoldOnlySamples) {
    for (const char* prefix : {"", "raw:", "aiff:", "sun:"}) {
        std::string path = temp_path("raw.pcm");
        int result = 0;
        void* f = open_output(prefix + path, &result);
        ASSERT_EQ(result, 0) << prefix;
        unsigned char samples[6] = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(out.write(f, samples, 6, 2, 1, 48000), 6);
        out.close(f);
        out.delete_instance(f);
        EXPECT_EQ(read_file(path), std::vector<unsigned char>(samples, samples + 6)) << prefix;
        unlink(path.c_str());
    }
}

TEST_F(FileOutput, ClosingWithoutWritesLeavesTheDefaultHeader) {
    std::string path = temp_path("empty.wav");
    int result = 0;
    void* f = open_output("wav:" + path, &result);
    out.close(f);
    out.delete_instance(f);
    std::vector<unsigned char> bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(le32(bytes, 4), 36u);
    EXPECT_EQ(le16(bytes, 22), 2u);
    EXPECT_EQ(le32(bytes, 24), 44100u);
    EXPECT_EQ(le32(bytes, 40), 0u);
    unlink(path.c_str());
}

TEST_F(FileOutput, WavToAPipeOnStandardOutputKeepsTheFirstSizes) {
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    int status = in_child([&] {
        close(pipe_fds[0]);
        dup2(pipe_fds[1], 1);
        int result = 0;
        void* f = nullptr;
        out.new_instance(&f, "wav:-", &entry, engine);
        result = out.open(f);
        unsigned char samples[8] = {9, 9, 9, 9, 9, 9, 9, 9};
        out.write(f, samples, 8, 2, 1, 44100);
        out.close(f);
        out.delete_instance(f);
        return result;
    });
    close(pipe_fds[1]);
    std::vector<unsigned char> bytes;
    unsigned char chunk[256];
    ssize_t n;
    while ((n = read(pipe_fds[0], chunk, sizeof chunk)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    close(pipe_fds[0]);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(bytes.size(), 52u);
    EXPECT_EQ(le32(bytes, 4), 36u);
    EXPECT_EQ(le32(bytes, 40), 0u);
    EXPECT_EQ(bytes[51], 9);
}

// Standard output on a regular file: the header is written again with the
// final sizes, and what the process writes afterwards follows the samples.
TEST_F(FileOutput, SeekableStandardOutputIsLeftAtItsEnd) {
    std::string path = temp_path("stdout.wav");
    int status = in_child([&] {
        FILE* file = fopen(path.c_str(), "w+b");
        if (!file || dup2(fileno(file), 1) < 0) return 10;
        void* f = nullptr;
        out.new_instance(&f, "wav:-", &entry, engine);
        int result = out.open(f);
        unsigned char samples[8] = {9, 9, 9, 9, 9, 9, 9, 9};
        out.write(f, samples, 8, 2, 1, 44100);
        out.close(f);
        out.delete_instance(f);
        fputs("tail", stdout);
        fflush(stdout);
        return result;
    });
    EXPECT_EQ(status, 0);
    std::vector<unsigned char> bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 44u + 8u + 4u);
    EXPECT_EQ(le32(bytes, 4), 8u + 36u);
    EXPECT_EQ(le32(bytes, 40), 8u);
    EXPECT_EQ(bytes[51], 9);
    EXPECT_EQ(std::string(bytes.end() - 4, bytes.end()), "tail");
    unlink(path.c_str());
}

// A stream that keeps its first 44 bytes and counts the rest, so that more
// than 4 GiB can pass without a disk to hold them.
struct CountingStream {
    unsigned char head[44] = {};
    off64_t position = 0, end = 0;
};

ssize_t counting_write(void* cookie, const char* data, size_t size) {
    CountingStream* s = static_cast<CountingStream*>(cookie);
    for (size_t i = 0; i < size && s->position + static_cast<off64_t>(i) < 44; ++i)
        s->head[s->position + static_cast<off64_t>(i)] = static_cast<unsigned char>(data[i]);
    s->position += static_cast<off64_t>(size);
    if (s->position > s->end) s->end = s->position;
    return static_cast<ssize_t>(size);
}

int counting_seek(void* cookie, off64_t* offset, int whence) {
    CountingStream* s = static_cast<CountingStream*>(cookie);
    off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->position : s->end;
    if (base + *offset < 0) return -1;
    s->position = *offset = base + *offset;
    return 0;
}

TEST_F(FileOutput, WavSizesPast4GiBStayAtTheLargestThatFits) {
    std::string report = temp_path("large_header.bin");
    int status = in_child([&] {
        static CountingStream stream;
        cookie_io_functions_t io{nullptr, counting_write, counting_seek, nullptr};
        FILE* counting = fopencookie(&stream, "w", io);
        if (!counting) return 10;
        stdout = counting;
        void* f = nullptr;
        out.new_instance(&f, "wav:-", &entry, engine);
        if (out.open(f) != 0) return 11;
        std::vector<unsigned char> block(1 << 20, 0x22);
        for (int i = 0; i < 4097; ++i)  // 4 GiB and 1 MiB
            if (out.write(f, block.data(), static_cast<int>(block.size()), 2, 1, 44100) !=
                static_cast<int>(block.size()))
                return 12;
        out.close(f);
        out.delete_instance(f);
        FILE* keep = fopen(report.c_str(), "wb");
        if (!keep) return 13;
        fwrite(stream.head, 1, 44, keep);
        long long where = stream.position;
        fwrite(&where, sizeof where, 1, keep);
        fclose(keep);
        return 0;
    });
    ASSERT_EQ(status, 0);
    std::vector<unsigned char> bytes = read_file(report);
    ASSERT_EQ(bytes.size(), 44u + 8u);
    // Whole stereo frames only: the data size is a multiple of 4.
    EXPECT_EQ(le32(bytes, 40), 4294967256u);
    EXPECT_EQ(le32(bytes, 4), 4294967256u + 36u);
    long long where = 0;
    memcpy(&where, bytes.data() + 44, sizeof where);
    EXPECT_EQ(where, 44LL + 4097LL * (1 << 20)) << "left at the end of the stream";
    unlink(report.c_str());
}

TEST_F(FileOutput, OpenFailures) {
    int result = 0;
    void* f = open_output("wav:" + temp_path("no/such/dir.wav"), &result);
    EXPECT_EQ(result, -500);
    out.delete_instance(f);
    ASSERT_EQ(g_reasons.size(), 1u);
    EXPECT_EQ(g_reasons[0], "cannot open output file / " + std::string(strerror(ENOENT)));

    std::string locked = temp_path("locked");
    mkdir(locked.c_str(), 0555);
    int status = in_child([&] {
        if (!drop_root()) return 2;
        int r = 0;
        void* g = nullptr;
        out.new_instance(&g, (locked + "/x.wav").c_str(), &entry, engine);
        r = out.open(g);
        out.delete_instance(g);
        return r == -504 && g_reasons.back() == "cannot open output file / permission denied" ? 0
                                                                                              : 1;
    });
    EXPECT_EQ(status, 0);
    rmdir(locked.c_str());

    void* none = nullptr;
    EXPECT_EQ(out.new_instance(&none, "", &entry, engine), -101);
    EXPECT_EQ(g_reasons.back(), "internal error / null params or null/empty output name");
}

TEST_F(FileOutput, Query) {
    ModuleInfo info{};
    EXPECT_EQ(out.query(&info, 3), 0);
    EXPECT_STREQ(info.name, "Output To File");
    EXPECT_EQ(info.index_or_count, 3);
    for (int i = 0; i < 3; ++i) {
        info.index_or_count = i;
        EXPECT_EQ(out.query(&info, 4), 0);
    }
    EXPECT_STREQ(info.name, "-");
    EXPECT_EQ(info.device_flags, 0);
    info.index_or_count = 1;
    out.query(&info, 4);
    EXPECT_STREQ(info.name, "wav:*");
    info.index_or_count = 3;
    EXPECT_EQ(out.query(&info, 4), -101);
}

}  // namespace
