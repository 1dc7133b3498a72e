// The control channel: starts and ends the player thread and carries player
// messages between it and the thread that started it.
#include "audio/control.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "audio/control_internal.h"
#include "audio/engine.h"
#include "audio/errors.h"
#include "audio/message.h"

namespace audio {
void* (*allocate_channel)(size_t count, size_t size) = calloc;
}  // namespace audio

namespace {

// One per thread that uses a control, in the control's TLS slot. A null
// target thread means "post to target_window".
struct ThreadChannel {
    HANDLE target_thread;
    DWORD target_thread_id;
    HWND target_window;
    char area[control_string_area];
};

struct StartRecord {
    HANDLE target_thread;
    DWORD target_thread_id;
    HWND target_window;
    HANDLE init_event;  // "control init"
    PlayerControl* control;
    player_routine routine;
    void* user;
    bool started;  // set by the player thread once its channel is in place
};

ThreadChannel* channel_of(PlayerControl* control) {
    if (!control) return nullptr;
    return static_cast<ThreadChannel*>(TlsGetValue(control->tls_slot));
}

void ensure_queue() {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

// The last of the two threads to let go frees the control.
void release(PlayerControl* control) {
    if (control->references.fetch_sub(1) != 1) return;
    TlsFree(control->tls_slot);
    CloseHandle(control->done_event);
    control->~PlayerControl();
    free(control);
}

DWORD WINAPI player_thread(LPVOID parameter) {
    StartRecord* start = static_cast<StartRecord*>(parameter);
    PlayerControl* control = start->control;
    ThreadChannel* channel =
        static_cast<ThreadChannel*>(audio::allocate_channel(1, sizeof(ThreadChannel)));
    if (channel) {
        channel->target_thread = start->target_thread;
        channel->target_thread_id = start->target_thread_id;
        channel->target_window = start->target_window;
        if (!TlsSetValue(control->tls_slot, channel)) {
            // No room to record it: the player cannot run on this thread.
            free(channel);
            channel = nullptr;
        }
    }
    start->started = channel != nullptr;
    ensure_queue();
    player_routine routine = start->routine;
    void* user = start->user;
    SetEvent(start->init_event);  // from here on the starter may post to us

    if (channel) routine(control, user);

    // Free the heap copies of commands that will never be carried out.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, player_message_base, player_message_last, PM_REMOVE))
        message_discard(msg.message, msg.lParam);
    TlsSetValue(control->tls_slot, nullptr);
    free(channel);
    SetEvent(control->done_event);
    release(control);
    return 0;
}

int post(ThreadChannel* channel, UINT id, WPARAM w, LPARAM l) {
    BOOL posted = channel->target_thread ? PostThreadMessageA(channel->target_thread_id, id, w, l)
                                         : PostMessageA(channel->target_window, id, w, l);
    return posted ? 0 : err_post_failed;
}

}  // namespace

int control_start(PlayerControl** out, HWND* window, player_routine routine, void* user) {
    if (!out || !routine) return err_invalid_parameters;
    *out = nullptr;
    void* memory = malloc(sizeof(PlayerControl));
    if (!memory) return err_out_of_memory;
    PlayerControl* control = new (memory) PlayerControl{};
    control->references = 1;
    ensure_queue();

    control->tls_slot = TlsAlloc();
    if (control->tls_slot == TLS_OUT_OF_INDEXES) {
        free(control);
        return -1;
    }
    ThreadChannel* channel = static_cast<ThreadChannel*>(calloc(1, sizeof(ThreadChannel)));
    if (!channel) {
        TlsFree(control->tls_slot);
        free(control);
        return err_out_of_memory;
    }
    if (!TlsSetValue(control->tls_slot, channel)) {
        free(channel);
        TlsFree(control->tls_slot);
        free(control);
        return -1;
    }

    StartRecord start{};
    if (window) {
        start.target_window = *window;
    } else {
        start.target_thread = GetCurrentThread();
        start.target_thread_id = GetCurrentThreadId();
    }
    // Both events are unnamed: a name would make every player in the process
    // share one "control init" and one "control done" event.
    start.init_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    start.control = control;
    start.routine = routine;
    start.user = user;
    control->done_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);

    auto fail = [&](int code) {
        if (start.init_event) CloseHandle(start.init_event);
        if (control->done_event) CloseHandle(control->done_event);
        TlsSetValue(control->tls_slot, nullptr);
        free(channel);
        TlsFree(control->tls_slot);
        free(control);
        return code;
    };
    if (!start.init_event || !control->done_event) return fail(-1);

    control->references = 2;  // this thread and the player thread
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, player_thread, &start, 0, &id);
    if (!thread) {
        control->references = 1;
        return fail(-1);
    }
    channel->target_thread = thread;
    channel->target_thread_id = id;
    WaitForSingleObject(start.init_event, INFINITE);
    CloseHandle(start.init_event);
    if (!start.started) {
        // The player thread could not set up its channel and ends without
        // running the player: wait for it, then let go of our share.
        WaitForSingleObject(control->done_event, INFINITE);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        TlsSetValue(control->tls_slot, nullptr);
        free(channel);
        release(control);
        return err_out_of_memory;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
    *out = control;
    return 0;
}

int control_stop(PlayerControl* control) {
    if (!control) return err_invalid_parameters;
    ThreadChannel* channel = channel_of(control);
    if (!channel) return -1;
    control_send(control, cmd_exit);
    WaitForSingleObject(control->done_event, 10000);
    HANDLE thread = channel->target_thread;
    TlsSetValue(control->tls_slot, nullptr);
    free(channel);
    if (thread) CloseHandle(thread);
    release(control);
    return 0;
}

int control_send_args(PlayerControl* control, unsigned code, const ControlArg* args, int count) {
    PlayerMessage message;
    int result = message_build(code, args, count, &message);
    if (result < 0) return result;
    ThreadChannel* channel = channel_of(control);
    if (!channel) return -1;
    WPARAM w;
    LPARAM l;
    result = message_pack(&message, &w, &l);
    if (result < 0) return result;
    UINT id = player_message_base + code;
    result = post(channel, id, w, l);
    if (result < 0) message_discard(id, l);  // nobody else will free it
    return result;
}

int control_drop_args(PlayerControl*, unsigned code, const ControlArg* args, int count) {
    PlayerMessage message;
    return message_build(code, args, count, &message);
}

int message_unpack(PlayerControl* control, const MSG* msg, PlayerMessage* message) {
    ThreadChannel* channel = channel_of(control);
    if (!channel || !msg || !message) {
        if (msg) message_discard(msg->message, msg->lParam);
        return -1;
    }
    message_unpack_into(msg->message, msg->wParam, msg->lParam, channel->area, message);
    return 0;
}

int control_poll(PlayerControl* control, PlayerMessage* message) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return 0;
    int result = message_unpack(control, &msg, message);
    return result < 0 ? result : 1;
}

int control_wait(PlayerControl* control, PlayerMessage* message, long long timeout) {
    if (timeout != -1) {
        DWORD ms = timeout < 0 ? 0 : static_cast<DWORD>(timeout / 1000);
        DWORD waited = MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
        if (waited == WAIT_TIMEOUT) return err_timeout;
        if (waited == WAIT_FAILED) return -1;
    }
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) return -1;
    return message_unpack(control, &msg, message);
}

int library_version(int kind) {
    if (kind == 1) return 0x30100;
    if (kind == 2) return 0x30200;
    return 0;
}

static int player_routine_entry(PlayerControl* control, void* user) {
    return engine_thread_routine(control, user);
}

int player_start(PlayerControl** out, HWND* window) {
    return control_start(out, window, player_routine_entry, nullptr);
}

int player_stop(PlayerControl* control) { return control_stop(control); }
