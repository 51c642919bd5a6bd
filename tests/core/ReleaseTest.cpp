#include "core/engine/Release.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pelliwig {
namespace {

struct Case {
    std::string name;
    std::string document;
    std::optional<Release> expected;
};

class ReleaseTest : public testing::TestWithParam<Case> {};

TEST_P(ReleaseTest, Decodes) {
    EXPECT_EQ(decodeRelease(GetParam().document), GetParam().expected) << GetParam().document;
}

std::string withUrl(const std::string& url) {
    return R"({"version": "2.0", "url": ")" + url + R"("})";
}

Case accepted(std::string name, const std::string& url) {
    return {std::move(name), withUrl(url), Release{"2.0", url, std::nullopt}};
}

Case refused(std::string name, std::string document) {
    return {std::move(name), std::move(document), std::nullopt};
}

Case refusedUrl(std::string name, const std::string& url) {
    return refused(std::move(name), withUrl(url));
}

const std::string kUrl = "https://pelliwig.app/download/2.0";

const std::vector<Case> kCases{
    {"WithNotes", R"({"version": "1.4.2", "url": ")" + kUrl + R"(", "notes": "Hi"})",
     Release{"1.4.2", kUrl, "Hi"}},
    {"NullNotes", R"({"version": "1.4.2", "url": ")" + kUrl + R"(", "notes": null})",
     Release{"1.4.2", kUrl, std::nullopt}},
    {"ExtraKeysIgnored",
     R"({"version": "3", "url": ")" + kUrl + R"(", "size": 12, "beta": {"a": 1}})",
     Release{"3", kUrl, std::nullopt}},
    accepted("PlainHttp", "http://pelliwig.app/x"),
    accepted("SchemeInCapitals", "HTTPS://pelliwig.app/x"),
    accepted("PortAndQuery", "https://pelliwig.app:8443/get?v=2.0&os=linux#top"),
    accepted("HostOnly", "https://pelliwig.app"),
    accepted("Ipv6Literal", "https://[2001:db8::1]:443/x"),
    accepted("PercentEscapes", "https://pelliwig.app/caf%C3%A9"),
    refused("NotJson", "<html>Gateway timeout</html>"),
    refused("Empty", ""),
    refused("TrailingGarbage", withUrl(kUrl) + " x"),
    refused("Array", "[" + withUrl(kUrl) + "]"),
    refused("MissingUrl", R"({"version": "2.0"})"),
    refused("MissingVersion", R"({"url": ")" + kUrl + R"("})"),
    refused("NumericVersion", R"({"version": 2.0, "url": ")" + kUrl + R"("})"),
    refused("NullUrl", R"({"version": "2.0", "url": null})"),
    refused("NotesNotText", R"({"version": "2.0", "url": ")" + kUrl + R"(", "notes": 5})"),
    refusedUrl("RelativeUrl", "/download/2.0"),
    refusedUrl("SchemeRelativeUrl", "//pelliwig.app/x"),
    refusedUrl("FileUrl", "file:///home/user/.bashrc"),
    refusedUrl("JavascriptUrl", "javascript:alert(1)"),
    refusedUrl("CustomScheme", "steam://run/1"),
    refusedUrl("NoHost", "https:///path"),
    refusedUrl("NoSlashes", "https:pelliwig.app"),
    refusedUrl("OnlyUserInfo", "https://user@/x"),
    refusedUrl("BadPort", "https://pelliwig.app:http/x"),
    refusedUrl("Space", "https://pelliwig.app/a b"),
    refusedUrl("BrokenEscape", "https://pelliwig.app/%zz"),
    refusedUrl("CutEscape", "https://pelliwig.app/%4"),
    refusedUrl("NonAscii", "https://pelliwig.app/caf\u00e9"),
    refusedUrl("EmptyUrl", ""),
};

INSTANTIATE_TEST_SUITE_P(Documents, ReleaseTest, testing::ValuesIn(kCases),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
