// PlayerClient with the real player: the hidden window receives the
// notifications on this thread and DispatchNotification calls the handlers
// with the arguments of their shapes.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "audio/control.h"
#include "support/message_box_catcher.h"

namespace {

struct Call {
    std::string handler;
    long long a = 0, b = 0;
};

class RecordingClient : public PlayerClient {
public:
    RecordingClient() : PlayerClient(nullptr) {}
    std::vector<Call> calls;

    void OnReady() override { calls.push_back({"ready"}); }
    void OnAck(int command) override { calls.push_back({"ack", command}); }
    void OnNack(const PlayerPayload* p) override {
        calls.push_back({"nack", p->byte_short.a, p->byte_short.b});
    }
    void OnPong(uint32_t tag) override { calls.push_back({"pong", tag}); }
    void OnInputModule(int id) override { calls.push_back({"input module", id}); }
    void OnOutputBalance(int v) override { calls.push_back({"balance", v}); }
    void OnOutputPcmLevel(int v) override { calls.push_back({"pcm", v}); }
    void OnOutputMasterLevel(int v) override { calls.push_back({"master", v}); }
    void OnInputName(const char* name) override {
        calls.push_back({"input name:" + std::string(name)});
    }
    void OnEnvironmentInteger(const char* name, int value) override {
        calls.push_back({"integer:" + std::string(name), value});
    }

    bool saw(const std::string& handler) const {
        for (const Call& c : calls)
            if (c.handler == handler) return true;
        return false;
    }
    const Call* find(const std::string& handler) const {
        for (const Call& c : calls)
            if (c.handler == handler) return &c;
        return nullptr;
    }
};

// Runs this thread's messages until `handler` was called (at most 5 s).
bool pump_until(RecordingClient& client, const std::string& handler) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!client.saw(handler) && std::chrono::steady_clock::now() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return client.saw(handler);
}

TEST(PlayerClient, HandlersGetTheirArguments) {
    RecordingClient client;
    ASSERT_NE(client.m_hWnd, nullptr);
    ASSERT_NE(client.m_pControl, nullptr);
    ASSERT_TRUE(pump_until(client, "ready"));

    control_send(client.m_pControl, cmd_seek, 1, 0);
    ASSERT_TRUE(pump_until(client, "nack"));
    EXPECT_EQ(client.find("nack")->a, cmd_seek);
    EXPECT_EQ(client.find("nack")->b, -101);

    control_send(client.m_pControl, cmd_get_input_module);
    control_send(client.m_pControl, cmd_get_output_volume);
    control_send(client.m_pControl, cmd_set_environment_integer, "X.Y", -5);
    control_send(client.m_pControl, cmd_get_environment_integer, "X.Y");
    control_send(client.m_pControl, cmd_ping, 0xFEEDu);
    ASSERT_TRUE(pump_until(client, "pong"));
    EXPECT_EQ(client.find("pong")->a, 0xFEED);
    EXPECT_EQ(client.find("input module")->a, -1) << "sign-extended";
    EXPECT_EQ(client.find("balance")->a, 50);
    EXPECT_EQ(client.find("pcm")->a, 100);
    EXPECT_EQ(client.find("master")->a, 100);
    EXPECT_EQ(client.find("integer:X.Y")->a, -5);
    EXPECT_EQ(client.find("ack")->a, cmd_get_input_module);
}

TEST(PlayerClient, NotificationsWithoutHandlersAreIgnored) {
    RecordingClient client;
    ASSERT_TRUE(pump_until(client, "ready"));
    client.calls.clear();
    // 95 has no handler slot; 107 and 113 are past the last one; a message
    // below the player's range goes to the default procedure.
    PostMessageA(client.m_hWnd, player_message_base + 95, 7, 0);
    PostMessageA(client.m_hWnd, player_message_base + 107, 0, 0);
    PostMessageA(client.m_hWnd, player_message_base + 113, 0, 0);
    PostMessageA(client.m_hWnd, WM_USER + 5, 0, 0);
    control_send(client.m_pControl, cmd_ping, 1);
    ASSERT_TRUE(pump_until(client, "ack"));  // the ping's, after its pong
    ASSERT_EQ(client.calls.size(), 2u);
    EXPECT_EQ(client.calls[0].handler, "pong");
    EXPECT_EQ(client.calls[1].handler, "ack");
}

TEST(PlayerClient, DestroyedWithNotificationsStillQueued) {
    auto* client = new RecordingClient;
    ASSERT_NE(client->m_pControl, nullptr);
    for (int i = 0; i < 200; ++i) control_send(client->m_pControl, cmd_input_open, "/no/such/file");
    delete client;  // the sanitizer build fails on any copy left behind
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, player_message_base, player_message_last, PM_REMOVE));
}

// The client speaks interface 3.2 (any revision); anything else is refused
// with a box that has no owner, stays on top and shows the error icon.
TEST(PlayerClient, VersionCheckShowsTheMismatchBox) {
    MessageBoxCatcher catcher;
    EXPECT_TRUE(client_version_check(library_version(2)));
    EXPECT_TRUE(client_version_check(0x302FF));
    EXPECT_TRUE(catcher.boxes.empty());

    for (int wrong : {0x30100, 0x40200, 0x20200, 0x00302, 0}) {
        catcher.boxes.clear();
        EXPECT_FALSE(client_version_check(wrong)) << std::hex << wrong;
        ASSERT_EQ(catcher.boxes.size(), 1u) << std::hex << wrong;
    }
    const ShownBox& box = catcher.boxes[0];
    EXPECT_EQ(box.caption, "Audio Error");
    EXPECT_EQ(box.text, "Audio DLL API version mismatch");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(box.topmost);
    EXPECT_TRUE(box.errorIcon);
}

}  // namespace
