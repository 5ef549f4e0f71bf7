// http_answer_parser.h - reads an HTTP/1.1 answer as its bytes arrive and throws the body away,
// in constant memory: it says when the answer is complete and whether the server will close.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sipo {

class HttpAnswerParser {
 public:
  enum class Progress { NeedMore, Done, Failed };

  // Longest status, header, chunk-size or trailer line accepted, its line end included.
  static constexpr std::size_t kMaxLineBytes = 8192;

  HttpAnswerParser();

  // Takes the next bytes from the connection. Once Done or Failed, further bytes change nothing.
  Progress Feed(std::string_view bytes);
  // The server closed the connection: Done when the body runs until the close (or the answer was
  // already complete), Failed otherwise.
  Progress EndOfStream();

  Progress State() const;
  // The code of the last status line read; 0 before one was read.
  int StatusCode() const { return status_; }
  // The final answer's Connection header holds the token "close".
  bool ClosesConnection() const { return closes_; }
  // Bytes held between two feeds; never more than kMaxLineBytes.
  std::size_t HeldBytes() const { return line_.size(); }

 private:
  enum class Stage {
    StatusLine,
    Headers,
    FixedBody,
    ChunkSize,
    ChunkData,
    ChunkDataEnd,
    Trailers,
    UntilClose,
    Done,
    Failed
  };

  bool AtLine() const;
  std::size_t TakeLinePart(std::string_view bytes);
  std::size_t SkipBody(std::string_view bytes);
  void OnLine(std::string_view line);
  void OnStatusLine(std::string_view line);
  void OnHeaderLine(std::string_view line);
  void OnHeadersEnd();
  void OnChunkSizeLine(std::string_view line);

  Stage stage_ = Stage::StatusLine;
  std::string line_;        // the unfinished line, at most kMaxLineBytes
  std::uint64_t left_ = 0;  // body or chunk bytes still to skip
  int status_ = 0;
  bool hasLength_ = false;
  std::uint64_t length_ = 0;
  bool chunked_ = false;
  bool closes_ = false;
};

}  // namespace sipo
