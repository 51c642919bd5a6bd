#pragma once

// An HTTP server on the loopback interface for tests of the HTTP clients: it
// runs in the test process, on its event loop, and answers each request by
// its path.
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/HttpClient.h"

namespace pelliwig::testing {

// Waits on the event loop for the network, never longer than this.
inline constexpr int kPatienceMs = 10000;

// What the server sends for one path: raw bytes, then it hangs up unless
// told to keep the line open. Silence is an answer with no bytes that keeps
// the line open.
struct Answer {
    std::string bytes;
    bool hangUp = true;
};

inline std::string response(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) +
           " Whatever\r\nContent-Type: application/json\r\n" +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

// A body that runs until the server hangs up, its length never announced.
inline std::string unannounced(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body;
}

inline const Answer kSilence{"", false};

// An HTTP server on the loopback interface, in this process and on its event
// loop. It answers each request by its path and keeps every request head.
class LoopbackHttpServer {
public:
    LoopbackHttpServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { accept(); });
        listening_ = server_.listen(QHostAddress::LocalHost);
    }

    bool listening() const { return listening_; }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    void answer(const std::string& path, Answer answer) { answers_[path] = std::move(answer); }
    const std::vector<std::string>& heads() const { return heads_; }

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(&server_);
            auto received = std::make_shared<std::string>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
                received->append(socket->readAll().toStdString());
                const auto end = received->find("\r\n\r\n");
                if (end == std::string::npos) return;
                heads_.push_back(received->substr(0, end));
                respond(*socket, *received);
                received->clear();
            });
        }
    }

    void respond(QTcpSocket& socket, const std::string& head) {
        const auto start = head.find(' ') + 1;
        const auto path = head.substr(start, head.find(' ', start) - start);
        const auto found = answers_.find(path);
        const Answer answer = found != answers_.end() ? found->second : Answer{response(404, "")};
        socket.write(answer.bytes.data(), qint64(answer.bytes.size()));
        if (answer.hangUp) socket.disconnectFromHost();
    }

    QTcpServer server_;
    bool listening_ = false;
    std::map<std::string, Answer> answers_;
    std::vector<std::string> heads_;
};

// Runs one GET to its end and gives its result.
inline HttpResult fetch(HttpClient& client, const HttpRequest& request) {
    std::optional<HttpResult> result;
    client.get(request, [&](HttpResult r) { result = std::move(r); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, kPatienceMs))
        << "no completion for " << request.url;
    return result.value_or(std::nullopt);
}

}  // namespace pelliwig::testing
