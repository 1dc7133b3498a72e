// The monkey: the whole program on the headless backend, fed random input
// nobody planned (clicks, double and right clicks, drags, wheel, keys) from a
// fixed seed, across every screen and dialog the input reaches, message
// boxes and the save dialog answered by the same random input. Nothing it
// does may crash the program, hang it or make a sanitizer speak.
//
// TINTO_MONKEY_EVENTS sets how many events (default 50000, a few seconds; in a
// sanitizer build 10000, about half a minute);
// TINTO_MONKEY_SEED sets the seed (default 24). A failure prints the seed and
// the last events, so that a run can be replayed with the same two values.
#include <gtest/gtest.h>
#include <malloc.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "app/start.h"
#include "app_harness.h"
#include "backends/headless/headless.h"
#include "support/resident_memory.h"

// Present only in a sanitizer build: there a report ends the process through
// the sanitizer, which then calls back so that the event log is printed.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

using namespace app_test;
namespace fs = std::filesystem;

namespace {

unsigned long long EnvNumber(const char* name, unsigned long long fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 0);
    return end && *end == '\0' ? value : fallback;
}

// The last events, kept in fixed storage so that a crash handler can print
// them without allocating.
class EventLog {
public:
    static constexpr int kKept = 48;
    static constexpr int kWidth = 112;

    void Add(unsigned long long index, const char* text) {
        char* line = m_lines[m_nNext % kKept];
        std::snprintf(line, kWidth, "#%llu %s\n", index, text);
        m_nNext.fetch_add(1);
    }
    // Async-signal-safe: write(2) only.
    void Print(unsigned long long seed, unsigned long long events) const {
        char head[160];
        int n = std::snprintf(head, sizeof head,
                              "monkey: seed %llu, %llu events asked; replay with "
                              "TINTO_MONKEY_SEED=%llu TINTO_MONKEY_EVENTS=%llu\n"
                              "monkey: the last events, oldest first:\n",
                              seed, events, seed, events);
        Write(head, n);
        unsigned long long total = m_nNext.load();
        unsigned long long first = total > kKept ? total - kKept : 0;
        for (unsigned long long i = first; i < total; ++i) {
            const char* line = m_lines[i % kKept];
            Write(line, int(strnlen(line, kWidth)));
        }
    }

private:
    static void Write(const char* text, int n) {
        if (n > 0 && ::write(STDERR_FILENO, text, size_t(n)) < 0) return;
    }
    char m_lines[kKept][kWidth] = {};
    std::atomic<unsigned long long> m_nNext{0};
};

EventLog g_log;
unsigned long long g_seed = 0;
unsigned long long g_events = 0;

void PrintLog() { g_log.Print(g_seed, g_events); }

extern "C" void OnFatalSignal(int signal) {
    PrintLog();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// What a child's hands do, one event at a time, on whatever window is on top.
class Monkey {
public:
    Monkey(unsigned long long seed, unsigned long long events) : m_rng(seed), m_nLeft(events) {}

    unsigned long long Done() const { return m_nDone; }
    bool Exhausted() const { return m_nLeft == 0; }
    const std::map<std::string, int>& Seen() const { return m_seen; }
    std::chrono::steady_clock::time_point LastProgress() const {
        return std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(m_lastProgress.load()));
    }

    // The idle handler: one event each time the program's thread is about
    // to wait, in whichever loop it is (a screen's, a message box's, the
    // save dialog's). Once the budget is spent, every window is asked to
    // close so that the program ends.
    bool OnIdle() {
        Touch();
        if (m_nLeft == 0) {
            std::vector<HWND> windows = ScreenScript::VisibleWindows();
            if (windows.empty()) return false;
            ++m_nClosing;
            if (m_nClosing == kCloseAttempts) {
                // A window that no key, cancel or close takes down is a hang
                // of its own: name it and the events that led there.
                std::fprintf(stderr, "monkey: the program would not close; windows up:\n");
                for (HWND hwnd : windows) {
                    char title[64] = {}, cls[40] = {};
                    ::GetWindowTextA(hwnd, title, sizeof title);
                    ::GetClassNameA(hwnd, cls, sizeof cls);
                    std::fprintf(stderr, "  %p %s \"%s\"%s, owner %p\n", static_cast<void*>(hwnd),
                                 cls, title, ::IsWindowEnabled(hwnd) ? "" : " (disabled)",
                                 static_cast<void*>(::GetWindow(hwnd, GW_OWNER)));
                }
                PrintLog();
                std::_Exit(4);
            }
            // Each window in turn, so that a box under another box is
            // reached too: Escape, the cancel command, a close, then a click
            // on each of its buttons (a box may only have OK).
            HWND target = windows[size_t(m_nClosing / 4) % windows.size()];
            switch (m_nClosing % 4) {
                case 0: headless::KeyPress(VK_ESCAPE); break;
                case 1: ::PostMessageA(target, WM_COMMAND, IDCANCEL, 0); break;
                case 2: ::PostMessageA(target, WM_CLOSE, 0, 0); break;
                default:
                    for (HWND c = ::GetWindow(target, GW_CHILD); c;
                         c = ::GetWindow(c, GW_HWNDNEXT)) {
                        char cls[16] = {};
                        ::GetClassNameA(c, cls, sizeof cls);
                        if (::strcasecmp(cls, "Button") != 0) continue;
                        ::PostMessageA(c, BM_CLICK, 0, 0);
                        break;
                    }
                    break;
            }
            return true;
        }
        --m_nLeft;
        ++m_nDone;
        if (m_nDone % 10000 == 0)
            std::fprintf(
                stderr, "monkey: %llu events, %.1f s, resident %ld KiB, heap in use %zu KiB\n",
                m_nDone,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count(),
                ResidentKiB(), mallinfo2().uordblks / 1024);
        OneEvent();
        // The shell's record would grow for ever.
        if (m_nDone % 256 == 0) headless::TakeShellRequests();
        return true;
    }

private:
    void Touch() {
        m_lastProgress.store(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    int Below(int n) { return n <= 0 ? 0 : int(m_rng() % unsigned(n)); }
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char text[96];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        g_log.Add(m_nDone, text);
    }

    // A point on the topmost window: often the centre of one of its
    // children (the buttons, lists and canvases a child aims at), else
    // anywhere on it, now and then anywhere on the screen.
    POINT Target(HWND* pTop) {
        HWND top = ScreenScript::Topmost();
        *pTop = top;
        if (top != m_lastTop) {
            m_lastTop = top;
            m_nSameTop = 0;
        } else if (++m_nSameTop == 3000 && std::getenv("TINTO_MONKEY_STUCK")) {
            char cls[40] = {};
            ::GetClassNameA(top, cls, sizeof cls);
            std::fprintf(stderr, "monkey: stuck on %s\n", cls);
            for (HWND hwnd : ScreenScript::VisibleWindows()) {
                char c[40] = {}, t[64] = {};
                ::GetClassNameA(hwnd, c, sizeof c);
                ::GetWindowTextA(hwnd, t, sizeof t);
                RECT r{};
                ::GetWindowRect(hwnd, &r);
                std::fprintf(stderr, "  %p %s \"%s\" %d,%d-%d,%d%s owner %p\n", (void*)hwnd, c, t,
                             r.left, r.top, r.right, r.bottom,
                             ::IsWindowEnabled(hwnd) ? "" : " disabled",
                             (void*)::GetWindow(hwnd, GW_OWNER));
            }
            PrintLog();
            std::_Exit(5);
        }
        SIZE screen = headless::ScreenSize();
        if (top) {
            char title[64] = {}, cls[40] = {};
            ::GetWindowTextA(top, title, sizeof title);
            ::GetClassNameA(top, cls, sizeof cls);
            // Screens have no title: their size tells them apart.
            std::string key = std::string(cls) + " \"" + title + "\"";
            if (std::getenv("TINTO_MONKEY_STUCK")) {
                char text[96] = {};
                ::GetWindowTextA(::GetDlgItem(top, 0xFFFF), text, sizeof text);
                for (char& c : text)
                    if (c == '\n') c = ' ';
                key += std::string(" ") + text;
            }
            if (!title[0]) {
                RECT r{};
                ::GetWindowRect(top, &r);
                key +=
                    " " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
            }
            ++m_seen[key];
        }
        int roll = Below(100);
        if (top && roll < 45) {
            std::vector<HWND> children;
            for (HWND c = ::GetWindow(top, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                if (::IsWindowVisible(c)) children.push_back(c);
            if (!children.empty()) {
                RECT r{};
                ::GetWindowRect(children[size_t(Below(int(children.size())))], &r);
                int w = std::max<int>(1, r.right - r.left), h = std::max<int>(1, r.bottom - r.top);
                return POINT{r.left + w / 2 + Below(w / 2 + 1) - w / 4,
                             r.top + h / 2 + Below(h / 2 + 1) - h / 4};
            }
        }
        if (top && roll < 90) {
            RECT r{};
            ::GetWindowRect(top, &r);
            return POINT{r.left + Below(std::max<int>(1, r.right - r.left)),
                         r.top + Below(std::max<int>(1, r.bottom - r.top))};
        }
        // Sometimes off every window, and sometimes off the screen.
        return POINT{Below(screen.cx + 40) - 20, Below(screen.cy + 40) - 20};
    }

    void OneEvent() {
        headless::AdvanceClock(DWORD(Below(700)));
        HWND top = nullptr;
        POINT p = Target(&top);
        int kind = Below(100);
        if (m_nSameTop > 400 && Below(50) == 0) {
            // A child who has played long on one window leaves it: without
            // this, the save dialog's many controls kept most of a long run.
            Log("key Escape (bored)");
            headless::KeyPress(VK_ESCAPE);
        } else if (kind < 30) {
            Log("click %d,%d on %p", p.x, p.y, static_cast<void*>(top));
            headless::Click(p.x, p.y);
        } else if (kind < 38) {
            Log("double click %d,%d", p.x, p.y);
            headless::Click(p.x, p.y);
            headless::AdvanceClock(DWORD(Below(200)));
            headless::Click(p.x, p.y);
        } else if (kind < 44) {
            Log("right click %d,%d", p.x, p.y);
            headless::Click(p.x, p.y, headless::Button::Right);
        } else if (kind < 56) {
            HWND ignored = nullptr;
            POINT q = Target(&ignored);
            int steps = 1 + Below(8);
            Log("drag %d,%d -> %d,%d in %d", p.x, p.y, q.x, q.y, steps);
            headless::MouseDown(p.x, p.y);
            for (int i = 1; i <= steps; ++i)
                headless::MouseMove(int(p.x + (q.x - p.x) * i / steps),
                                    int(p.y + (q.y - p.y) * i / steps));
            headless::MouseUp(q.x, q.y);
        } else if (kind < 62) {
            int delta = Below(7) - 3;
            Log("wheel %d at %d,%d", delta, p.x, p.y);
            headless::Wheel(p.x, p.y, delta);
        } else if (kind < 66) {
            Log("move %d,%d", p.x, p.y);
            headless::MouseMove(p.x, p.y);
        } else if (kind < 67) {
            Log("pointer leaves");
            headless::PointerLeave();
        } else {
            Key();
        }
    }

    void Key() {
        static const UINT kKeys[] = {VK_RETURN, VK_TAB,  VK_SPACE, VK_LEFT,   VK_RIGHT, VK_UP,
                                     VK_DOWN,   VK_HOME, VK_END,   VK_DELETE, VK_BACK,  VK_F1,
                                     VK_PRIOR,  VK_NEXT, VK_F10,   VK_F11};
        int kind = Below(100);
        if (kind < 3) {
            // Escape leaves a screen; rare enough that screens get played with.
            Log("key Escape");
            headless::KeyPress(VK_ESCAPE);
        } else if (kind < 12) {
            Log("key Alt+Space");
            headless::KeyDown(VK_MENU);
            headless::KeyPress(VK_SPACE);
            headless::KeyUp(VK_MENU);
        } else if (kind < 14) {
            Log("key Shift+Tab");
            headless::KeyDown(VK_SHIFT);
            headless::KeyPress(VK_TAB);
            headless::KeyUp(VK_SHIFT);
        } else if (kind < 17) {
            UINT letter = UINT('A' + Below(26));
            Log("key Alt+%c", char(letter));
            headless::KeyDown(VK_MENU);
            headless::KeyPress(letter);
            headless::KeyUp(VK_MENU);
        } else if (kind < 20) {
            // Undo and redo: Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z.
            const int which = Below(3);
            Log("key Ctrl+%s", which == 0 ? "Z" : which == 1 ? "Y" : "Shift+Z");
            headless::KeyDown(VK_CONTROL);
            if (which == 2) headless::KeyDown(VK_SHIFT);
            headless::KeyPress(which == 1 ? 'Y' : 'Z');
            if (which == 2) headless::KeyUp(VK_SHIFT);
            headless::KeyUp(VK_CONTROL);
        } else if (kind < 45) {
            UINT vk = kKeys[Below(int(sizeof kKeys / sizeof kKeys[0]))];
            Log("key 0x%02X", vk);
            headless::KeyPress(vk);
        } else if (kind < 75) {
            UINT letter = UINT('A' + Below(26));
            Log("key %c", char(letter));
            headless::KeyPress(letter);
        } else {
            // Characters a file name box may not take.
            static const char kChars[] = "abz09 ./\\:*?\"<>|~-_";
            unsigned char ch = static_cast<unsigned char>(kChars[Below(int(sizeof kChars - 1))]);
            if (Below(20) == 0) ch = static_cast<unsigned char>(128 + Below(128));
            Log("char 0x%02X", ch);
            headless::TypeChar(ch);
        }
    }

    static constexpr unsigned long long kCloseAttempts = 3000;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::mt19937_64 m_rng;
    unsigned long long m_nLeft;
    unsigned long long m_nDone = 0;
    unsigned long long m_nClosing = 0;
    std::map<std::string, int> m_seen;
    HWND m_lastTop = nullptr;
    unsigned long long m_nSameTop = 0;
    std::atomic<std::chrono::steady_clock::rep> m_lastProgress{
        std::chrono::steady_clock::now().time_since_epoch().count()};
};

class MonkeyTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        PrepareContent(kAllContent | kScreenPictures | kCatalogues);
        // Saves go to a folder of the test's own.
        fs::create_directories(AppDir() + "saved");
        ::setenv("XDG_PICTURES_DIR", (AppDir() + "saved/").c_str(), 1);
        // The save dialog walks anywhere and the monkey types any name: as
        // root it would write pictures into any folder of the machine. The
        // program runs as an ordinary user instead, who may write only into
        // the saves folder (and the world-writable temporary folders).
        if (::geteuid() == 0) {
            for (const auto& entry : fs::recursive_directory_iterator(AppDir()))
                if (entry.is_directory()) ::chmod(entry.path().c_str(), 0755);
            ASSERT_EQ(::chmod(AppDir().c_str(), 0755), 0);
            ASSERT_EQ(::chmod((AppDir() + "saved").c_str(), 0777), 0);
            ASSERT_EQ(::setegid(kNobody), 0);
            ASSERT_EQ(::seteuid(kNobody), 0);
            m_bDropped = true;
        }
    }
    void TearDown() override {
        if (HasFailure()) PrintLog();
        if (m_bDropped) {
            EXPECT_EQ(::seteuid(0), 0);
            EXPECT_EQ(::setegid(0), 0);
        }
        ::unsetenv("XDG_PICTURES_DIR");
        ProgramTest::TearDown();
    }

private:
    static constexpr uid_t kNobody = 65534;
    bool m_bDropped = false;
};

TEST_F(MonkeyTest, RandomInputNeverCrashesOrHangsTheProgram) {
    g_seed = EnvNumber("TINTO_MONKEY_SEED", 24);
    // The sanitizers slow every event down some twentyfold.
    const bool sanitized = &__sanitizer_set_death_callback != nullptr;
    g_events = EnvNumber("TINTO_MONKEY_EVENTS", sanitized ? 10000 : 50000);
    const auto hangAfter = std::chrono::seconds(EnvNumber("TINTO_MONKEY_HANG_SECONDS", 60));
    std::fprintf(stderr, "monkey: seed %llu, %llu events\n", g_seed, g_events);

    for (int s : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(s, OnFatalSignal);
    if (&__sanitizer_set_death_callback) __sanitizer_set_death_callback(&PrintLog);

    Monkey monkey(g_seed, g_events);
    // The watchdog: an event loop that stops asking for events for a minute
    // is a hang; it names the last events and ends the process.
    std::atomic<bool> finished{false};
    std::thread watchdog([&] {
        while (!finished.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (std::chrono::steady_clock::now() - monkey.LastProgress() > hangAfter) {
                const char text[] = "monkey: the program stopped taking input (a hang)\n";
                if (::write(STDERR_FILENO, text, sizeof text - 1) < 0) {}
                PrintLog();
                std::_Exit(3);
            }
        }
    });

    char name[] = "tintorama";
    char headlessOption[] = "--headless";
    char* argv[] = {name, headlessOption, nullptr};
    headless::SetIdleHandler([&] { return monkey.OnIdle(); });
    // Leaving the program is one of the things a child does; it is started
    // again until the events are spent.
    int starts = 0;
    while (!monkey.Exhausted() && !HasFailure()) {
        ++starts;
        RunTintorama(2, argv);
        EXPECT_TRUE(ScreenScript::VisibleWindows().empty()) << "a window outlived the program";
    }
    headless::SetIdleHandler(nullptr);
    finished = true;
    watchdog.join();

    // With the memory figures of every ten thousand events, a long run
    // shows whether anything piles up across starts.
    std::fprintf(stderr,
                 "monkey: %llu events in %d starts; resident %ld KiB, heap in use %zu KiB; "
                 "windows on top:\n",
                 monkey.Done(), starts, ResidentKiB(), mallinfo2().uordblks / 1024);
    for (const auto& [window, count] : monkey.Seen())
        std::fprintf(stderr, "  %6d  %s\n", count, window.c_str());
    EXPECT_EQ(monkey.Done(), g_events);
    // The home screen and more than itself: a monkey stuck on one window
    // tests nothing.
    EXPECT_GE(monkey.Seen().size(), 3u);
}

}  // namespace
