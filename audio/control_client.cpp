// PlayerClient: the client side of a player. A hidden window receives the
// player's notifications on the user-interface thread and turns each into a
// call of a virtual handler.
#include "audio/control.h"
#include "audio/message.h"

namespace {

const char client_class[] = "Audio Hidden Window Class";

LRESULT CALLBACK client_window_proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    PlayerClient* client = reinterpret_cast<PlayerClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!client || message < player_message_base) return DefWindowProcA(hwnd, message, w, l);
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = w;
    msg.lParam = l;
    PlayerMessage unpacked;
    if (message_unpack(client->m_pControl, &msg, &unpacked) < 0)
        return DefWindowProcA(hwnd, message, w, l);
    client->DispatchNotification(&unpacked);
    return 0;
}

}  // namespace

bool client_version_check(int version) {
    if (((version >> 16) & 0xFF) == 3 && ((version >> 8) & 0xFF) == 2) return true;
    MessageBoxA(nullptr, "Audio DLL API version mismatch", "Audio Error",
                MB_TOPMOST | MB_SETFOREGROUND | MB_ICONERROR);
    return false;
}

PlayerClient::PlayerClient(HINSTANCE instance) : m_pControl(nullptr), m_hWnd(nullptr) {
    if (CreateHiddenWindow(instance) && player_start(&m_pControl, &m_hWnd) < 0)
        m_pControl = nullptr;
}

PlayerClient::PlayerClient(HINSTANCE instance, player_routine routine, void* user)
    : m_pControl(nullptr), m_hWnd(nullptr) {
    if (CreateHiddenWindow(instance) && control_start(&m_pControl, &m_hWnd, routine, user) < 0)
        m_pControl = nullptr;
}

bool PlayerClient::CreateHiddenWindow(HINSTANCE instance) {
    if (!client_version_check(library_version(2))) return false;
    WNDCLASSA wc{};
    wc.lpfnWndProc = client_window_proc;
    wc.hInstance = instance;
    wc.lpszClassName = client_class;
    RegisterClassA(&wc);  // a second registration fails harmlessly
    m_hWnd = CreateWindowExA(0, client_class, "Audio Hidden Window", 0, 0, 0, 0, 0, nullptr,
                             nullptr, instance, nullptr);
    // Without its window the client could never receive a notification.
    if (!m_hWnd) return false;
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

PlayerClient::~PlayerClient() {
    // Stop the player first, then free what it posted that was never
    // dispatched, then let the window go.
    if (m_pControl) player_stop(m_pControl);
    m_pControl = nullptr;
    if (!m_hWnd) return;
    MSG msg;
    while (PeekMessageA(&msg, m_hWnd, player_message_base, player_message_last, PM_REMOVE))
        message_discard(msg.message, msg.lParam);
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

void PlayerClient::DispatchNotification(const PlayerMessage* message) {
    const PlayerPayload& p = message->payload;
    const PlayerPayload* payload = &p;
    switch (message->code) {
        case ntf_ready: OnReady(); break;
        case ntf_ack: OnAck(p.byte); break;
        case ntf_nack: OnNack(payload); break;
        case ntf_pong: OnPong(p.value); break;
        case ntf_exited: OnExited(); break;
        case ntf_player_state: OnPlayerState(p.byte); break;
        case ntf_player_mode: OnPlayerMode(p.value); break;
        case ntf_environment_integer:
            OnEnvironmentInteger(p.text_value.text, static_cast<int>(p.text_value.value));
            break;
        case ntf_environment_string: OnEnvironmentString(p.texts.a, p.texts.b); break;
        case ntf_input_state: OnInputState(p.byte); break;
        case ntf_input_name: OnInputName(p.text); break;
        case ntf_input_caps: OnInputCaps(p.value); break;
        case ntf_input_position: OnInputPosition(p.values.a, p.values.b); break;
        case ntf_input_position_range: OnInputPositionRange(p.value); break;
        case ntf_input_timecode: OnInputTimecode(payload); break;
        case ntf_input_timecode_granularity: OnInputTimecodeGranularity(p.value); break;
        case ntf_input_duration: OnInputDuration(p.value); break;
        case ntf_input_stream_info: OnInputStreamInfo(payload); break;
        case ntf_input_module: OnInputModule(p.short_value); break;
        case ntf_input_module_info: OnInputModuleInfo(payload); break;
        case ntf_input_device_info: OnInputDeviceInfo(payload); break;
        case ntf_input_filter_info: OnInputFilterInfo(payload); break;
        case ntf_output_state: OnOutputState(p.byte); break;
        case ntf_output_name: OnOutputName(p.text); break;
        case ntf_output_caps: OnOutputCaps(p.value); break;
        case ntf_output_volume: OnOutputVolume(payload); break;
        case ntf_output_balance: OnOutputBalance(p.bytes[2]); break;
        case ntf_output_pcm_level: OnOutputPcmLevel(p.bytes[1]); break;
        case ntf_output_master_level: OnOutputMasterLevel(p.bytes[0]); break;
        case ntf_output_channels: OnOutputChannels(p.byte); break;
        case ntf_output_ports: OnOutputPorts(p.byte); break;
        case ntf_output_module: OnOutputModule(p.short_value); break;
        case ntf_output_module_info: OnOutputModuleInfo(payload); break;
        case ntf_output_device_info: OnOutputDeviceInfo(payload); break;
        case ntf_output_filter_info: OnOutputFilterInfo(payload); break;
        case ntf_codec_quality: OnCodecQuality(p.byte); break;
        case ntf_codec_equalizer: OnCodecEqualizer(p.equalizer); break;
        case ntf_notification_mask: OnNotificationMask(p.value); break;
        case ntf_debug_level: OnDebugLevel(p.byte); break;
        case ntf_progress: OnProgress(payload); break;
        case ntf_debug: OnDebug(payload); break;
        case ntf_error: OnError(payload); break;
        default: break;  // 95 and codes past 106 have no handler
    }
}
