// notice_fuzz.cpp - libFuzzer target for the start-up notice's answer parser. Nothing may crash,
// no line may be held beyond the limit, and where the bytes are cut must not change the outcome.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "notice/http_answer_parser.h"

namespace {

using sipo::HttpAnswerParser;

void Require(bool condition) {
  if (!condition) std::abort();
}

struct Outcome {
  HttpAnswerParser::Progress afterBytes;
  HttpAnswerParser::Progress afterClose;
  int status;
  bool closes;
  bool operator==(const Outcome&) const = default;
};

// Feeds the answer in pieces of pieceSize bytes.
Outcome Parse(std::string_view answer, std::size_t pieceSize) {
  HttpAnswerParser parser;
  HttpAnswerParser::Progress progress = parser.State();
  for (std::size_t at = 0; at < answer.size(); at += pieceSize) {
    const HttpAnswerParser::Progress before = progress;
    progress = parser.Feed(answer.substr(at, pieceSize));
    Require(parser.HeldBytes() < HttpAnswerParser::kMaxLineBytes);
    // Once the answer is complete or failed, later bytes change nothing.
    if (before != HttpAnswerParser::Progress::NeedMore) Require(progress == before);
  }
  const int status = parser.StatusCode();
  const bool closes = parser.ClosesConnection();
  const HttpAnswerParser::Progress afterClose = parser.EndOfStream();
  Require(afterClose != HttpAnswerParser::Progress::NeedMore);
  if (progress != HttpAnswerParser::Progress::NeedMore) Require(afterClose == progress);
  return {progress, afterClose, status, closes};
}

}  // namespace

// The first byte sets the size of the pieces the rest is fed in; the rest is the answer.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t pieceSize = data[0] == 0 ? 1 : data[0];
  const std::string_view answer(reinterpret_cast<const char*>(data + 1), size - 1);
  const Outcome whole = Parse(answer, answer.size() + 1);
  Require(Parse(answer, pieceSize) == whole);
  return 0;
}
