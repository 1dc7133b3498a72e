// How the network input reads its servers' replies: lines that fill the
// line buffer exactly, redirects taken at their first Location line, the
// FTP size and log-in without a password, and numbers read as atoi reads
// them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "network_input_fixture.h"

using namespace std::chrono_literals;
using nettest::FtpScript;
using nettest::read_until;
using nettest::send_all;
using nettest::Server;
using nettest::url_of;

namespace {

class NetworkProtocol : public nettest::NetworkInput {
protected:
    std::string ftp_url(const Server& server) {
        return "ftp://127.0.0.1:" + std::to_string(server.port()) + "/a.mp3";
    }
};

// An HTTP server that answers every request with `answer`.
Server http_answering(const std::string& answer) {
    return Server([answer](int fd, int) {
        read_until(fd, "\r\n\r\n");
        send_all(fd, answer);
    });
}

TEST_F(NetworkProtocol, StatusLineThatFillsTheLineBufferIsReadWhole) {
    std::string status = "HTTP/1.0 200 ";
    status += std::string(127 - status.size(), 'K');  // 127 characters, the buffer's length
    Server server([&](int fd, int) {
        read_until(fd, "\r\n\r\n");
        send_all(fd, status + "\r\nContent-Length: 5\r\n\r\nhello");
    });
    ASSERT_EQ(open(url_of(server, "/")), 0);
    EXPECT_EQ(module.get_size(instance), 5);
    EXPECT_EQ(read_all(), "hello");
}

TEST_F(NetworkProtocol, FtpGreetingThatFillsTheLineBufferIsReadWhole) {
    FtpScript script;
    script.greeting = "220 " + std::string(251, 'w') + "\r\n";  // 255 characters
    script.body = "song";
    Server server([&](int fd, int) { ftp_session(fd, script); });
    ASSERT_EQ(open(ftp_url(server)), 0);
    EXPECT_EQ(read_all(), "song");
}

TEST_F(NetworkProtocol, RedirectIsTakenAtItsFirstLocationLine) {
    int port = 0;
    std::vector<std::string> paths;
    std::mutex mutex;
    Server server([&](int fd, int index) {
        std::string request = read_until(fd, "\r\n\r\n");
        {
            std::lock_guard<std::mutex> lock(mutex);
            paths.push_back(request.substr(0, request.find("\r\n")));
        }
        if (index > 0) {
            send_all(fd, "HTTP/1.0 200 OK\r\n\r\nmoved here");
            return;
        }
        // Two Location lines, then the header never ends.
        std::string base = "http://127.0.0.1:" + std::to_string(port);
        send_all(fd, "HTTP/1.0 302 Found\r\nLocation: " + base + "/first\r\nLocation: " + base +
                         "/second\r\n");
        while (!server.stopping()) std::this_thread::sleep_for(10ms);
    });
    port = server.port();
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(open(url_of(server, "/start")), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(read_all(), "moved here");
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(paths, (std::vector<std::string>{"GET /start HTTP/1.0", "GET /first HTTP/1.0"}));
}

TEST_F(NetworkProtocol, ContentLengthIsReadAsAtoiReadsIt) {
    Server server = http_answering("HTTP/1.0 200 OK\r\nContent-Length: +481070\r\n\r\nx");
    ASSERT_EQ(open(url_of(server, "/")), 0);
    EXPECT_EQ(module.get_size(instance), 481070);
}

TEST_F(NetworkProtocol, FtpSizeComesFromTheReplyThatOpensTheTransfer) {
    FtpScript script;
    script.greeting = "220 ready (4800000 bytes)\r\n";
    script.retr_reply = "150 Opening data connection (481070)\r\n";
    script.body = "x";
    Server server([&](int fd, int) { ftp_session(fd, script); });
    ASSERT_EQ(open(ftp_url(server)), 0);
    EXPECT_EQ(module.get_size(instance), 481070);
}

TEST_F(NetworkProtocol, FtpSizeInTheGreetingIsNotTheFilesSize) {
    FtpScript script;
    script.greeting = "220 ready (4800000 bytes)\r\n";
    script.retr_reply = "150 Opening data connection\r\n";
    script.body = "x";
    Server server([&](int fd, int) { ftp_session(fd, script); });
    ASSERT_EQ(open(ftp_url(server)), 0);
    EXPECT_EQ(module.get_size(instance), 0);
}

// RFC 959 lets a server answer USER with 230 (anonymous log-in without a
// password): the fetch goes on with TYPE I.
TEST_F(NetworkProtocol, FtpServerThatAsksNoPasswordIsLoggedIn) {
    FtpScript script;
    script.user_reply = "230 Welcome without password\r\n";
    script.body = nettest::pattern(3000);
    Server server([&](int fd, int) { ftp_session(fd, script); });
    ASSERT_EQ(open(ftp_url(server)), 0);
    EXPECT_EQ(read_all(), script.body);
    std::lock_guard<std::mutex> lock(script.mutex);
    ASSERT_EQ(script.commands.size(), 4u);
    EXPECT_EQ(script.commands[0], "USER anonymous");
    EXPECT_EQ(script.commands[1], "TYPE I");
    EXPECT_EQ(script.commands[3], "RETR /a.mp3");
}

}  // namespace
