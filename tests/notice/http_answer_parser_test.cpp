// Tests of reading an HTTP answer as it arrives: status, headers, the body rules and the end.
#include "notice/http_answer_parser.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace sipo {
namespace {

using Progress = HttpAnswerParser::Progress;

const char* Name(Progress progress) {
  switch (progress) {
    case Progress::NeedMore:
      return "NeedMore";
    case Progress::Done:
      return "Done";
    case Progress::Failed:
      return "Failed";
  }
  return "?";
}

// What the parser says after the bytes, and after the server then closes the connection.
struct Outcome {
  Progress afterBytes;
  Progress afterClose;
  int status;
  bool closes;
  bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  return out << Name(o.afterBytes) << "/" << Name(o.afterClose) << " status " << o.status
             << (o.closes ? " close" : " keep");
}

// Feeds the answer in pieces of the given size (0: in one piece).
Outcome Parse(const std::string& answer, std::size_t pieceSize = 0) {
  HttpAnswerParser parser;
  Progress progress = Progress::NeedMore;
  if (pieceSize == 0) pieceSize = answer.size() + 1;
  for (std::size_t at = 0; at < answer.size(); at += pieceSize) {
    progress = parser.Feed(std::string_view(answer).substr(at, pieceSize));
  }
  if (answer.empty()) progress = parser.State();
  const int status = parser.StatusCode();
  const bool closes = parser.ClosesConnection();
  return {progress, parser.EndOfStream(), status, closes};
}

// Feeds the answer cut in two at every position.
Outcome ParseInTwo(const std::string& answer, std::size_t cut) {
  HttpAnswerParser parser;
  parser.Feed(std::string_view(answer).substr(0, cut));
  const Progress progress = parser.Feed(std::string_view(answer).substr(cut));
  const int status = parser.StatusCode();
  const bool closes = parser.ClosesConnection();
  return {progress, parser.EndOfStream(), status, closes};
}

constexpr Progress kMore = Progress::NeedMore;
constexpr Progress kDone = Progress::Done;
constexpr Progress kFail = Progress::Failed;

struct Case {
  const char* what;
  std::string answer;
  Outcome expected;
};

// Every answer must give the same outcome whole, byte by byte and cut anywhere in two.
void ExpectCases(const Case (&cases)[], std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(Parse(c.answer), c.expected) << c.what << ": " << c.answer;
    EXPECT_EQ(Parse(c.answer, 1), c.expected) << c.what << " (byte by byte)";
    for (std::size_t cut = 0; cut <= c.answer.size(); ++cut) {
      ASSERT_EQ(ParseInTwo(c.answer, cut), c.expected) << c.what << " (cut at " << cut << ")";
    }
  }
}

TEST(HttpAnswerParser, EndsTheBodyByTheFirstRuleThatApplies) {
  const Case cases[] = {
      {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", {kDone, kDone, 200, false}},
      {"length, body still short",
       "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nhello",
       {kMore, kFail, 200, false}},
      {"bytes after the answer are ignored",
       "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokHTTP/1.1 garbage\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"chunked",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"chunked: extensions, upper-case hex, trailers",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "A;name=value\r\n0123456789\r\n1 \r\nx\r\n0\r\nExpires: never\r\nX-More: 1\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"chunked among other codings, any case",
       "HTTP/1.1 200 OK\r\ntransfer-encoding: gzip, Chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"chunked, last chunk's trailers not yet ended",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n",
       {kMore, kFail, 200, false}},
      {"a length above 0 wins over chunked",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 3\r\n\r\nabc",
       {kDone, kDone, 200, false}},
      {"a length of 0 leaves chunked in force",
       "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"no length: until the close",
       "HTTP/1.1 200 OK\r\n\r\nanything at all",
       {kMore, kDone, 200, false}},
      {"a length of 0: no body",
       "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"the same length twice",
       "HTTP/1.1 200 OK\r\nContent-Length: 1\r\ncontent-length: 1\r\n\r\nx",
       {kDone, kDone, 200, false}},
      {"204 has no body, whatever it says",
       "HTTP/1.1 204 No Content\r\nContent-Length: 9\r\n\r\n",
       {kDone, kDone, 204, false}},
      {"204 without a length does not wait for the close",
       "HTTP/1.1 204 No Content\r\n\r\n",
       {kDone, kDone, 204, false}},
      {"299 reads a body", "HTTP/1.1 299 Whatever\r\n\r\n", {kMore, kDone, 299, false}},
  };
  ExpectCases(cases, std::size(cases));
}

TEST(HttpAnswerParser, ReadsPastContinueAndStopsAtEveryOtherStatus) {
  const Case cases[] = {
      {"100 then 200",
       "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
       {kDone, kDone, 200, false}},
      {"100 twice, with headers of its own",
       "HTTP/1.1 100 Continue\r\nX-A: 1\r\n\r\nHTTP/1.1 100 Continue\r\nConnection: close\r\n\r\n"
       "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"100 and then the close", "HTTP/1.1 100 Continue\r\n\r\n", {kMore, kFail, 100, false}},
      {"101", "HTTP/1.1 101 Switching Protocols\r\n\r\n", {kFail, kFail, 101, false}},
      {"199", "HTTP/1.1 199 X\r\n\r\n", {kFail, kFail, 199, false}},
      {"301 with a Location",
       "HTTP/1.1 301 Moved Permanently\r\nLocation: http://elsewhere.example/\r\n"
       "Content-Length: 0\r\n\r\n",
       {kFail, kFail, 301, false}},
      {"304", "HTTP/1.1 304 Not Modified\r\n\r\n", {kFail, kFail, 304, false}},
      {"401",
       "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic\r\n\r\n",
       {kFail, kFail, 401, false}},
      {"404 with a body",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!",
       {kFail, kFail, 404, false}},
      {"407", "HTTP/1.1 407 Proxy Authentication Required\r\n\r\n", {kFail, kFail, 407, false}},
      {"500", "HTTP/1.1 500 Internal Server Error\r\n\r\n", {kFail, kFail, 500, false}},
      {"only the end of the headers decides",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n",
       {kMore, kFail, 404, false}},
  };
  ExpectCases(cases, std::size(cases));
}

TEST(HttpAnswerParser, FailsAnAnswerWithoutAStatusCode) {
  const Case cases[] = {
      {"plain text", "hello world\r\n", {kFail, kFail, 0, false}},
      {"HTML without a status line", "<html><body>x</body></html>\n", {kFail, kFail, 0, false}},
      {"no code", "HTTP/1.1 OK\r\n\r\n", {kFail, kFail, 0, false}},
      {"two digits", "HTTP/1.1 20 OK\r\n\r\n", {kFail, kFail, 0, false}},
      {"four digits", "HTTP/1.1 2000 OK\r\n\r\n", {kFail, kFail, 0, false}},
      {"no version", "HTTP/ 200 OK\r\n\r\n", {kFail, kFail, 0, false}},
      {"another protocol", "ICY 200 OK\r\n\r\n", {kFail, kFail, 0, false}},
      {"lower case", "http/1.1 200 OK\r\n\r\n", {kFail, kFail, 0, false}},
      {"binary", std::string("\0\xFF\x01\n", 4), {kFail, kFail, 0, false}},
      {"nothing before the close", "", {kMore, kFail, 0, false}},
      {"first line not ended", "HTTP/1.1 200 OK", {kMore, kFail, 0, false}},
  };
  ExpectCases(cases, std::size(cases));
}

TEST(HttpAnswerParser, ToleratesLooseButReadableAnswers) {
  const Case cases[] = {
      {"LF line ends", "HTTP/1.1 200 OK\nContent-Length: 1\n\nx", {kDone, kDone, 200, false}},
      {"no reason phrase", "HTTP/1.1 200\r\nContent-Length: 0\r\n\r\n", {kDone, kDone, 200, false}},
      {"HTTP/1.0", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", {kDone, kDone, 200, false}},
      {"empty lines before the status line",
       "\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"blanks around values, odd name case",
       "HTTP/1.1 200 OK\r\nCONTENT-length:   2 \t\r\n\r\nok",
       {kDone, kDone, 200, false}},
      {"lines without a colon and folded lines are skipped",
       "HTTP/1.1 200 OK\r\nnonsense\r\nX-Long: a\r\n  Content-Length: 99\r\nContent-Length: "
       "1\r\n\r\n"
       "x",
       {kDone, kDone, 200, false}},
  };
  ExpectCases(cases, std::size(cases));
}

TEST(HttpAnswerParser, FailsWhereTheBodysEndCannotBeKnown) {
  const Case cases[] = {
      {"length not a number",
       "HTTP/1.1 200 OK\r\nContent-Length: abc\r\n\r\n",
       {kFail, kFail, 200, false}},
      {"negative length",
       "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n",
       {kFail, kFail, 200, false}},
      {"empty length", "HTTP/1.1 200 OK\r\nContent-Length:\r\n\r\n", {kFail, kFail, 200, false}},
      {"two lengths that disagree",
       "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nxx",
       {kFail, kFail, 200, false}},
      {"a length beyond any body",
       "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n",
       {kFail, kFail, 200, false}},
      {"chunk size not hex",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
       {kFail, kFail, 200, false}},
      {"chunk size empty",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n\r\n",
       {kFail, kFail, 200, false}},
      {"chunk size beyond 64 bits",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10000000000000000\r\n",
       {kFail, kFail, 200, false}},
      {"chunk longer than its size",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcd\r\n0\r\n\r\n",
       {kFail, kFail, 200, false}},
      {"close inside a chunk",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel",
       {kMore, kFail, 200, false}},
  };
  ExpectCases(cases, std::size(cases));
}

TEST(HttpAnswerParser, TellsWhetherTheServerCloses) {
  const Case cases[] = {
      {"close",
       "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, true}},
      {"one token of several, any case",
       "HTTP/1.1 200 OK\r\nconnection: Upgrade, CLOSE \r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, true}},
      {"keep-alive",
       "HTTP/1.1 200 OK\r\nConnection: keep-alive\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"not the token",
       "HTTP/1.1 200 OK\r\nConnection: closed\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, false}},
      {"in another header",
       "HTTP/1.1 200 OK\r\nX-Connection: close\r\nContent-Length: 0\r\n\r\n",
       {kDone, kDone, 200, false}},
  };
  ExpectCases(cases, std::size(cases));
}

// A line is held only up to the limit; a longer one ends the answer before it is buffered.
TEST(HttpAnswerParser, HoldsNoLineLongerThanTheLimit) {
  const std::string head = "HTTP/1.1 200 OK\r\nX-Pad: ";
  const std::size_t fits = HttpAnswerParser::kMaxLineBytes - std::string("X-Pad: \r\n").size();
  for (const auto& [padding, expected] :
       {std::pair{fits, Progress::Done}, std::pair{fits + 1, Progress::Failed}}) {
    HttpAnswerParser parser;
    const std::string answer = head + std::string(padding, 'a') + "\r\nContent-Length: 0\r\n\r\n";
    Progress progress = Progress::NeedMore;
    std::size_t mostHeld = 0;
    for (std::size_t at = 0; at < answer.size(); at += 7) {
      progress = parser.Feed(std::string_view(answer).substr(at, 7));
      mostHeld = std::max(mostHeld, parser.HeldBytes());
    }
    EXPECT_EQ(progress, expected) << padding;
    EXPECT_LT(mostHeld, HttpAnswerParser::kMaxLineBytes) << padding;
  }
  // An endless line with no line end at all.
  HttpAnswerParser parser;
  parser.Feed("HTTP/1.1 200 OK\r\nX-Endless: ");
  const std::string block(4096, 'b');
  Progress progress = Progress::NeedMore;
  for (int i = 0; i < 100 && progress == Progress::NeedMore; ++i) progress = parser.Feed(block);
  EXPECT_EQ(progress, Progress::Failed);
  EXPECT_EQ(parser.HeldBytes(), 0u);
}

// An endless chunked body is skipped as it comes, however much of it arrives.
TEST(HttpAnswerParser, SkipsAnEndlessBodyWithoutHoldingIt) {
  HttpAnswerParser parser;
  parser.Feed("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
  const std::string chunk = "10000\r\n" + std::string(0x10000, 'z') + "\r\n";
  for (int i = 0; i < 2000; ++i) {  // 128 MiB
    ASSERT_EQ(parser.Feed(chunk), Progress::NeedMore);
    ASSERT_LT(parser.HeldBytes(), 16u);
  }
  EXPECT_EQ(parser.Feed("0\r\n\r\n"), Progress::Done);
}

}  // namespace
}  // namespace sipo
