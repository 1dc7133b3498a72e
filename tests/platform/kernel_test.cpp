// Threads, thread-local storage, events, waits, modules and helpers.
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <atomic>
#include <cmath>
#include <string>

#include "backends/headless/headless.h"

namespace {

DWORD WINAPI ReturnParameter(LPVOID p) {
    return static_cast<DWORD>(reinterpret_cast<uintptr_t>(p));
}

DWORD WINAPI WaitThenReturn(LPVOID event) {
    WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
    return 7;
}

TEST(Threads, RunReportExitCodeAndSignalWhenDone) {
    DWORD id = 0;
    HANDLE thread =
        CreateThread(nullptr, 0, ReturnParameter, reinterpret_cast<LPVOID>(uintptr_t(42)), 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Threads, StillActiveUntilTheRoutineReturns) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, go, 0, nullptr);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, DWORD(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(thread, 20), DWORD(WAIT_TIMEOUT));
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(thread);
    CloseHandle(go);
}

TEST(Threads, SuspendedThreadStartsOnResume) {
    HANDLE thread = CreateThread(nullptr, 0, ReturnParameter, nullptr, CREATE_SUSPENDED, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 20), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
}

TEST(Threads, PriorityIsKeptAndBadValuesRefused) {
    EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL));
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL));
    EXPECT_FALSE(SetThreadPriority(GetCurrentThread(), 7));
    EXPECT_FALSE(SetThreadPriority(reinterpret_cast<HANDLE>(0x1234567), THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(GetThreadPriority(reinterpret_cast<HANDLE>(0x1234567)), THREAD_PRIORITY_ERROR_RETURN);
}

TEST(Handles, StaleAndRandomHandlesFailCleanly) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(CloseHandle(event));
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0xdeadbeef), 0), WAIT_FAILED);
    DWORD code;
    EXPECT_FALSE(GetExitCodeThread(nullptr, &code));
    EXPECT_FALSE(CloseHandle(nullptr));
}

struct TlsProbe {
    DWORD index;
    void* seenBeforeSet;
    void* seenAfterSet;
};

DWORD WINAPI ProbeTls(LPVOID p) {
    auto* probe = static_cast<TlsProbe*>(p);
    probe->seenBeforeSet = TlsGetValue(probe->index);
    TlsSetValue(probe->index, probe);
    probe->seenAfterSet = TlsGetValue(probe->index);
    return 0;
}

TEST(ThreadLocalStorage, ValuesArePerThread) {
    DWORD index = TlsAlloc();
    ASSERT_NE(index, TLS_OUT_OF_INDEXES);
    int mine = 1;
    ASSERT_TRUE(TlsSetValue(index, &mine));
    TlsProbe probe{index, reinterpret_cast<void*>(1), nullptr};
    HANDLE thread = CreateThread(nullptr, 0, ProbeTls, &probe, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_EQ(probe.seenBeforeSet, nullptr);
    EXPECT_EQ(probe.seenAfterSet, &probe);
    EXPECT_EQ(TlsGetValue(index), &mine);
    EXPECT_TRUE(TlsFree(index));
}

TEST(ThreadLocalStorage, FreedIndexIsRefusedAndReuseStartsEmpty) {
    DWORD index = TlsAlloc();
    int value = 5;
    TlsSetValue(index, &value);
    ASSERT_TRUE(TlsFree(index));
    EXPECT_FALSE(TlsFree(index));
    EXPECT_EQ(TlsGetValue(index), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(TlsSetValue(index, &value));
    DWORD again = TlsAlloc();
    EXPECT_EQ(again, index);  // lowest free index
    EXPECT_EQ(TlsGetValue(again), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(TlsSetValue(100000, &value));
    TlsFree(again);
}

TEST(Events, AutoResetReleasesOneWaitAtATime) {
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_TIMEOUT));
    SetEvent(event);
    SetEvent(event);  // does not count
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 10), DWORD(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(Events, ManualResetStaysSignalledUntilReset) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(Events, NamedEventsAreSharedWhileOpen) {
    HANDLE a = CreateEventA(nullptr, FALSE, FALSE, "control done");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    HANDLE b = CreateEventA(nullptr, FALSE, FALSE, "control done");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    ASSERT_NE(a, b);
    SetEvent(a);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
    CloseHandle(a);
    CloseHandle(b);
    // All handles closed: the name is free again and the state is fresh.
    HANDLE c = CreateEventA(nullptr, FALSE, TRUE, "control done");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(c, 0), WAIT_OBJECT_0);
    CloseHandle(c);
}

DWORD WINAPI SetAfterDelay(LPVOID event) {
    Sleep(30);
    SetEvent(static_cast<HANDLE>(event));
    return 0;
}

TEST(Events, WaitWakesWhenAnotherThreadSets) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, SetAfterDelay, event, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 10000), WAIT_OBJECT_0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(event);
}

TEST(Events, WaitForMultipleReportsTheFirstSignalledOrAll) {
    HANDLE e[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr),
                   CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(2, e, FALSE, 0), DWORD(WAIT_TIMEOUT));
    SetEvent(e[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, e, TRUE, 0), DWORD(WAIT_TIMEOUT));
    SetEvent(e[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, e, TRUE, 0), WAIT_OBJECT_0);
    CloseHandle(e[0]);
    CloseHandle(e[1]);
}

TEST(Modules, LoadLibraryFindsExportsAndRefusesBadInput) {
    HMODULE m = LoadLibraryA("libm.so.6");
    ASSERT_NE(m, nullptr);
    auto cosine =
        reinterpret_cast<double (*)(double)>(reinterpret_cast<void*>(GetProcAddress(m, "cos")));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(m, "no_such_function_here"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
    char path[MAX_PATH];
    EXPECT_GT(GetModuleFileNameA(m, path, sizeof path), 0u);
    EXPECT_NE(std::string(path).find("libm"), std::string::npos);
    EXPECT_TRUE(FreeLibrary(m));
    EXPECT_FALSE(FreeLibrary(m));
    EXPECT_EQ(GetProcAddress(m, "cos"), nullptr);
    EXPECT_EQ(LoadLibraryA("/nonexistent/plugin.so"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(0x5555), "cos"), nullptr);
}

TEST(Modules, ModuleFileNameIsTheExecutablesRealPath) {
    char expected[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", expected, sizeof expected - 1), 0);
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_EQ(std::string(path), expected);
    EXPECT_EQ(n, std::string(expected).size());
    EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), path, sizeof path), n);
    // Too small a buffer: truncated, terminated, and reported.
    char small[8];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), DWORD(sizeof small));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), std::string(expected).substr(0, 7));
}

TEST(Modules, TestsCanGiveTheExecutableAnotherPath) {
    char real[MAX_PATH * 4];
    ASSERT_GT(GetModuleFileNameA(nullptr, real, sizeof real), 0u);
    headless::SetExecutablePath("/prepared/folder/tintorama");
    char path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 26u);
    EXPECT_STREQ(path, "/prepared/folder/tintorama");
    headless::SetExecutablePath("");
    GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_STREQ(path, real);
}

TEST(Helpers, MulDivRoundsHalfAwayFromZeroAndRejectsOverflow) {
    EXPECT_EQ(MulDiv(5, 6, 4), 8);    // 7.5
    EXPECT_EQ(MulDiv(-5, 6, 4), -8);  // -7.5
    EXPECT_EQ(MulDiv(5, -6, 4), -8);
    EXPECT_EQ(MulDiv(7, 13, 8), 11);  // 11.375
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7fffffff, 4, 1), -1);
    EXPECT_EQ(MulDiv(0x7fffffff, 0x7fffffff, 0x7fffffff), 0x7fffffff);
}

TEST(Helpers, TimeIsPlausibleAndMonotonic) {
    SYSTEMTIME t;
    GetSystemTime(&t);
    EXPECT_GE(t.wYear, 2024);
    EXPECT_GE(t.wMonth, 1);
    EXPECT_LE(t.wMonth, 12);
    EXPECT_LT(t.wMilliseconds, 1000);
    DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 19u);
}

}  // namespace
