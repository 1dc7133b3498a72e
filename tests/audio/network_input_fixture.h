// The network input on a bare engine, for the tests that drive it against
// servers on loopback: the module registered, its reports recorded, and a
// reader that takes a stream to its end.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "audio/engine.h"
#include "audio/errors.h"
#include "audio/modules/network_input.h"
#include "network_test_server.h"

namespace nettest {

using namespace std::chrono_literals;

struct Report {
    int kind;  // 0 progress, 1 debug
    int source;
    int code_or_level;
    int value;
    std::string message;
    std::string detail;
};

class NetworkInput : public ::testing::Test {
protected:
    void SetUp() override {
        engine = engine_create(nullptr);
        ASSERT_NE(engine, nullptr);
        engine->user = this;
        engine->report_progress = [](void* user, int source, int code, int value, const char* m) {
            static_cast<NetworkInput*>(user)->reports.push_back(
                {0, source, code, value, m ? m : "", ""});
        };
        engine->report_debug = [](void* user, int source, int level, const char* m, const char* d) {
            static_cast<NetworkInput*>(user)->reports.push_back(
                {1, source, level, 0, m, d ? d : ""});
        };
        network_input_register(&module);
        entry.id = 1;
    }
    void TearDown() override {
        if (instance) {
            if (opened) module.close(instance);
            module.delete_instance(instance);
        }
        engine_destroy(engine);
    }

    int open(const std::string& url) {
        int r = module.new_instance(&instance, url.c_str(), &entry, engine);
        if (r < 0) return r;
        r = module.open(instance);
        opened = r == 0;
        return r;
    }

    // Reads in blocks until the end or a failure other than a time-out,
    // for at most `limit`. The last result is kept in `last`.
    std::string read_all(int block = 1000, std::chrono::milliseconds limit = 20s) {
        std::string got;
        std::vector<char> buffer(static_cast<size_t>(block));
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            last = module.read(instance, buffer.data(), block);
            if (last > 0)
                got.append(buffer.data(), static_cast<size_t>(last));
            else if (last != err_timeout)
                break;
        }
        return got;
    }

    bool has_debug(int level, const std::string& message, const std::string& detail = "*") const {
        for (const Report& r : reports)
            if (r.kind == 1 && r.code_or_level == level && r.message == message &&
                (detail == "*" || r.detail == detail))
                return true;
        return false;
    }
    int count_progress(int code) const {
        int n = 0;
        for (const Report& r : reports) n += r.kind == 0 && r.code_or_level == code;
        return n;
    }

    Engine* engine = nullptr;
    InputModule module{};
    ModuleEntry entry{};
    void* instance = nullptr;
    bool opened = false;
    int last = 0;
    std::vector<Report> reports;
};

inline std::string pattern(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; i++) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

inline std::string url_of(const Server& s, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(s.port()) + path;
}

// An FTP server in active mode: `greeting` first, then answers by command;
// RETR connects to the PORT address and sends the body.
struct FtpScript {
    std::string greeting = "220-Welcome\r\n220-to the test\r\n220 ready\r\n";
    std::string user_reply = "331 Password please\r\n";
    std::string retr_reply = "150-Opening\r\n150 Opening BINARY connection (12000 bytes)\r\n";
    std::string body;
    std::vector<std::string> commands;
    std::mutex mutex;
};

inline void ftp_session(int fd, FtpScript& s) {
    send_all(fd, s.greeting);
    int data_port = 0;
    for (int i = 0; i < 10; i++) {
        std::string line = read_until(fd, "\r\n");
        if (line.size() < 2) return;
        line.resize(line.size() - 2);
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.commands.push_back(line);
        }
        if (line.rfind("USER", 0) == 0) {
            send_all(fd, s.user_reply);
        } else if (line.rfind("PASS", 0) == 0) {
            send_all(fd, "230 Logged in\r\n");
        } else if (line.rfind("TYPE", 0) == 0) {
            send_all(fd, "200 Binary\r\n");
        } else if (line.rfind("PORT", 0) == 0) {
            int a, b, c, d, p1, p2;
            sscanf(line.c_str(), "PORT %d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &p1, &p2);
            data_port = p1 * 256 + p2;
            send_all(fd, "200 PORT ok\r\n");
        } else if (line.rfind("RETR", 0) == 0) {
            send_all(fd, s.retr_reply);
            int data = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(static_cast<uint16_t>(data_port));
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (connect(data, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0)
                send_all(data, s.body);
            close(data);
            send_all(fd, "226 Done\r\n");
            return;
        } else {
            send_all(fd, "500 Unknown\r\n");
        }
    }
}

}  // namespace nettest
