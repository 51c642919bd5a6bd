// pelliwig-fetch: one HTTP GET for the update check, run as a child of the
// app. See FetchCommand.h for the command line and the answer.
#include <QCoreApplication>
#include <QNetworkProxyFactory>

#include <cstdio>
#include <optional>

#include "fetch/FetchCommand.h"
#include "fetch/QtHttpClient.h"

using namespace pelliwig;

namespace {

bool writeAll(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto request = FetchCommand::parse(app.arguments().mid(1));
    if (!request) {
        std::fputs("usage: pelliwig-fetch URL TIMEOUT_SECONDS MAX_BODY_BYTES\n", stderr);
        return FetchCommand::kUsage;
    }
    // The desktop's proxy settings (and http_proxy and friends) apply, as
    // they do for any other program of the session.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    QtHttpClient client;
    int code = FetchCommand::kNoAnswer;
    client.get(*request, [&](HttpResult result) {
        if (result && writeAll(FetchCommand::encode(result))) code = FetchCommand::kAnswered;
        app.exit(code);
    });
    app.exec();
    return code;
}
