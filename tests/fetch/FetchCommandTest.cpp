#include "fetch/FetchCommand.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace pelliwig {
namespace {

using namespace std::string_literals;

struct DecodeCase {
    std::string name;
    std::string output;
    std::size_t limit;
    HttpResult expected;
};

void PrintTo(const DecodeCase& decodeCase, std::ostream* out) {
    *out << decodeCase.name;
}

class FetchDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(FetchDecodeTest, ReadsTheHelpersAnswer) {
    EXPECT_EQ(FetchCommand::decode(GetParam().output, GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, FetchDecodeTest,
    ::testing::Values(DecodeCase{"Ok", "200\n{\"v\":1}", 100, HttpResponse{200, "{\"v\":1}"}},
                      DecodeCase{"EmptyBody", "204\n", 100, HttpResponse{204, ""}},
                      // The body is passed on byte for byte, newlines and zeros too.
                      DecodeCase{"RawBody", "200\na\nb\0c"s, 100, HttpResponse{200, "a\nb\0c"s}},
                      DecodeCase{"BodyAtTheLimit", "200\n0123456789", 10,
                                 HttpResponse{200, "0123456789"}},
                      DecodeCase{"BodyOverTheLimit", "200\n0123456789!", 10, std::nullopt},
                      DecodeCase{"Nothing", "", 100, std::nullopt},
                      DecodeCase{"NoNewline", "200", 100, std::nullopt},
                      DecodeCase{"NoStatus", "\nbody", 100, std::nullopt},
                      DecodeCase{"NotANumber", "2x0\nbody", 100, std::nullopt},
                      DecodeCase{"SignedStatus", "+20\nbody", 100, std::nullopt},
                      DecodeCase{"TwoDigits", "99\nbody", 100, std::nullopt},
                      DecodeCase{"FourDigits", "2000\nbody", 100, std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST(FetchCommandTest, WhatIsWrittenIsWhatIsRead) {
    for (const HttpResult& result :
         {HttpResult{HttpResponse{200, "{}"}}, HttpResult{HttpResponse{503, ""}},
          HttpResult{HttpResponse{200, "\n\0\n"s}}}) {
        EXPECT_EQ(FetchCommand::decode(FetchCommand::encode(result), 100), result);
    }
    EXPECT_EQ(FetchCommand::encode(std::nullopt), "");
}

TEST(FetchCommandTest, ACommandLineNamesTheRequestItWasMadeFrom) {
    for (const HttpRequest& request :
         {HttpRequest{"https://example.org/version.json", 60, 1 << 20},
          HttpRequest{"http://127.0.0.1:8080/a?b=c d", 0.2, 0},
          HttpRequest{"https://example.org/", 0, std::numeric_limits<std::size_t>::max()},
          HttpRequest{"https://example.org/", -1, 10}}) {
        EXPECT_EQ(FetchCommand::parse(FetchCommand::arguments(request)), request) << request.url;
    }
}

TEST(FetchCommandTest, RefusesWhatIsNotACommandLine) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"https://example.org/"},
          QStringList{"https://example.org/", "60"},
          QStringList{"https://example.org/", "60", "10", "extra"}, QStringList{"", "60", "10"},
          QStringList{"https://example.org/", "soon", "10"},
          QStringList{"https://example.org/", "inf", "10"},
          QStringList{"https://example.org/", "nan", "10"},
          QStringList{"https://example.org/", "60", "-1"},
          QStringList{"https://example.org/", "60", "1.5"}}) {
        EXPECT_EQ(FetchCommand::parse(arguments), std::nullopt)
            << arguments.join(' ').toStdString();
    }
}

TEST(FetchCommandTest, TheOutputBoundSaturates) {
    EXPECT_EQ(FetchCommand::maxOutputBytes(10), 14u);
    constexpr auto kMost = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(FetchCommand::maxOutputBytes(kMost), kMost);
    EXPECT_EQ(FetchCommand::maxOutputBytes(kMost - 2), kMost);
}

}  // namespace
}  // namespace pelliwig
