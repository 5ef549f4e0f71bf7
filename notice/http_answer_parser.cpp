// http_answer_parser.cpp - reads an HTTP/1.1 answer as its bytes arrive and throws the body away.
#include "notice/http_answer_parser.h"

#include <algorithm>
#include <limits>

#include "core/ascii_text.h"

namespace sipo {
namespace {

using Progress = HttpAnswerParser::Progress;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool ContainsNoCase(std::string_view text, std::string_view lowerPart) {
  return std::search(text.begin(), text.end(), lowerPart.begin(), lowerPart.end(),
                     [](char x, char y) { return AsciiLower(x) == y; }) != text.end();
}

bool HasToken(std::string_view list, std::string_view lowerToken) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    if (SameIgnoringCase(TrimBlanks(list.substr(0, comma)), lowerToken)) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

// "HTTP/" and a version, blanks, then three digits ending the line or followed by a blank.
bool ParseStatusCode(std::string_view line, int& code) {
  if (!line.starts_with("HTTP/")) return false;
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos || space == 5) return false;
  std::string_view rest = line.substr(space);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (rest.size() < 3 || !std::all_of(rest.begin(), rest.begin() + 3, IsDigit)) return false;
  if (rest.size() > 3 && !IsBlank(rest[3])) return false;
  code = (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
  return true;
}

// Decimal digits only, below 10^18 (far beyond any body we would wait for).
bool ParseLength(std::string_view text, std::uint64_t& value) {
  if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), IsDigit))
    return false;
  value = 0;
  for (char c : text) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return true;
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f') return AsciiLower(c) - 'a' + 10;
  return -1;
}

// A chunk-size line: hex digits, then nothing, or blanks and chunk extensions after ';'.
bool ParseChunkSize(std::string_view line, std::uint64_t& size) {
  std::size_t digits = 0;
  size = 0;
  for (; digits < line.size() && HexValue(line[digits]) >= 0; ++digits) {
    if (size > (std::numeric_limits<std::uint64_t>::max() >> 4)) return false;
    size = (size << 4) | static_cast<std::uint64_t>(HexValue(line[digits]));
  }
  if (digits == 0) return false;
  std::string_view rest = line.substr(digits);
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  return rest.empty() || rest.front() == ';';
}

}  // namespace

HttpAnswerParser::HttpAnswerParser() {
  line_.reserve(kMaxLineBytes);
}

Progress HttpAnswerParser::State() const {
  if (stage_ == Stage::Done) return Progress::Done;
  if (stage_ == Stage::Failed) return Progress::Failed;
  return Progress::NeedMore;
}

Progress HttpAnswerParser::Feed(std::string_view bytes) {
  while (!bytes.empty() && State() == Progress::NeedMore) {
    bytes.remove_prefix(AtLine() ? TakeLinePart(bytes) : SkipBody(bytes));
  }
  return State();
}

Progress HttpAnswerParser::EndOfStream() {
  if (stage_ == Stage::UntilClose) stage_ = Stage::Done;
  if (stage_ != Stage::Done) stage_ = Stage::Failed;
  line_.clear();
  return State();
}

bool HttpAnswerParser::AtLine() const {
  return stage_ != Stage::FixedBody && stage_ != Stage::ChunkData && stage_ != Stage::UntilClose;
}

// Adds bytes up to the next LF to the current line and handles the line once it is whole.
// Returns how many bytes it used.
std::size_t HttpAnswerParser::TakeLinePart(std::string_view bytes) {
  const std::size_t end = bytes.find('\n');
  const std::size_t piece = end == std::string_view::npos ? bytes.size() : end;
  // A line longer than the limit fails before it is held: a server cannot make us buffer more.
  if (line_.size() + piece >= kMaxLineBytes) {
    stage_ = Stage::Failed;
    line_.clear();
    return bytes.size();
  }
  if (end == std::string_view::npos) {
    line_.append(bytes);
    return bytes.size();
  }
  std::string_view line = bytes.substr(0, end);
  if (!line_.empty()) {
    line_.append(line);
    line = line_;
  }
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  OnLine(line);
  line_.clear();
  return end + 1;
}

std::size_t HttpAnswerParser::SkipBody(std::string_view bytes) {
  if (stage_ == Stage::UntilClose) return bytes.size();
  const auto used = static_cast<std::size_t>(std::min<std::uint64_t>(left_, bytes.size()));
  left_ -= used;
  if (left_ == 0) stage_ = stage_ == Stage::FixedBody ? Stage::Done : Stage::ChunkDataEnd;
  return used;
}

void HttpAnswerParser::OnLine(std::string_view line) {
  switch (stage_) {
    case Stage::StatusLine:
      OnStatusLine(line);
      break;
    case Stage::Headers:
      OnHeaderLine(line);
      break;
    case Stage::ChunkSize:
      OnChunkSizeLine(line);
      break;
    case Stage::ChunkDataEnd:
      stage_ = line.empty() ? Stage::ChunkSize : Stage::Failed;
      break;
    case Stage::Trailers:
      if (line.empty()) stage_ = Stage::Done;  // trailer fields are read and dropped
      break;
    default:
      break;
  }
}

void HttpAnswerParser::OnStatusLine(std::string_view line) {
  if (line.empty()) return;  // empty lines before a status line are tolerated
  if (!ParseStatusCode(line, status_)) {
    stage_ = Stage::Failed;
    return;
  }
  // Each status line (a 100 Continue, then the final one) brings its own headers.
  hasLength_ = false;
  length_ = 0;
  chunked_ = false;
  closes_ = false;
  stage_ = Stage::Headers;
}

void HttpAnswerParser::OnHeaderLine(std::string_view line) {
  if (line.empty()) {
    OnHeadersEnd();
    return;
  }
  const std::size_t colon = line.find(':');
  // Folded continuations and lines without a colon carry nothing we use.
  if (IsBlank(line.front()) || colon == std::string_view::npos) return;
  const std::string_view name = TrimBlanks(line.substr(0, colon));
  const std::string_view value = TrimBlanks(line.substr(colon + 1));
  if (SameIgnoringCase(name, "content-length")) {
    std::uint64_t length = 0;
    // A length that is no number, or two that disagree, leave the body's end unknown.
    if (!ParseLength(value, length) || (hasLength_ && length != length_)) {
      stage_ = Stage::Failed;
      return;
    }
    hasLength_ = true;
    length_ = length;
  } else if (SameIgnoringCase(name, "transfer-encoding")) {
    chunked_ = chunked_ || ContainsNoCase(value, "chunked");
  } else if (SameIgnoringCase(name, "connection")) {
    closes_ = closes_ || HasToken(value, "close");
  }
}

// The body rules, in their order: a length above 0, chunked, until the close, none.
void HttpAnswerParser::OnHeadersEnd() {
  if (status_ == 100) {
    stage_ = Stage::StatusLine;
  } else if (status_ < 200 || status_ > 299) {
    stage_ = Stage::Failed;
  } else if (status_ == 204) {
    stage_ = Stage::Done;
  } else if (hasLength_ && length_ > 0) {
    left_ = length_;
    stage_ = Stage::FixedBody;
  } else if (chunked_) {
    stage_ = Stage::ChunkSize;
  } else if (!hasLength_) {
    stage_ = Stage::UntilClose;
  } else {
    stage_ = Stage::Done;
  }
}

void HttpAnswerParser::OnChunkSizeLine(std::string_view line) {
  std::uint64_t size = 0;
  if (!ParseChunkSize(line, size)) {
    stage_ = Stage::Failed;
  } else if (size == 0) {
    stage_ = Stage::Trailers;
  } else {
    left_ = size;
    stage_ = Stage::ChunkData;
  }
}

}  // namespace sipo
