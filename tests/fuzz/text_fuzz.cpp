// text_fuzz.cpp - libFuzzer target for the text rules of files: line lists, field splitting, the
// UTF-16 reader, the file run's line loop on each of its paths and the INI store's text. Nothing
// may crash, and each rule must agree with its own inverse or with a plain reference.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/field_split.h"
#include "batch/line_list.h"
#include "batch/line_rule.h"
#include "batch/line_scan.h"
#include "batch/line_stream.h"
#include "batch/text_units.h"
#include "settings/ini_text.h"
#include "tests/support/line_is_good.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckLines(std::string_view text) {
  const sipo::LineList lines = sipo::SplitLines(std::string(text));
  for (std::string_view line : lines) {
    Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
  }
  // Joining and splitting again gives the same lines.
  const sipo::LineList again = sipo::SplitLines(sipo::JoinLines(lines));
  Require(again.Size() == lines.Size());
  for (std::size_t i = 0; i < lines.Size(); ++i) Require(again[i] == lines[i]);
}

void CheckFields(char delimiter, std::string_view line) {
  sipo::FieldList fields;
  sipo::SplitDelimited(delimiter, line, fields);
  std::string joined;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) joined += delimiter;
    joined.append(fields[i]);
  }
  // Only a delimiter at the very end is lost.
  Require(joined == line || joined + delimiter == line);
  sipo::SplitQuoted(line, fields);
  for (std::string_view field : fields) Require(field.find('"') == std::string_view::npos);
  // The file run's direct search for its one field finds the field that the list holds.
  for (const bool quoted : {false, true}) {
    for (std::int32_t column = -1; column < 4; ++column) {
      const sipo::LineRule rule{false, quoted, delimiter, column};
      Require(sipo::test::LineIsGood<sipo::ByteUnits>(
                  line, rule, sipo::DelimiterIn(sipo::TextEncoding::Bytes, delimiter)) ==
              sipo::LineHasValidNumber(line, false, quoted, delimiter, column, fields));
    }
  }
}

// Hands out a text in pieces whose sizes the input chooses, odd ones included.
class PieceSource : public sipo::ByteSource {
 public:
  PieceSource(std::string_view text, std::uint8_t seed) : text_(text), seed_(seed) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    std::size_t count = 1 + (seed_ = static_cast<std::uint8_t>(seed_ * 31 + 7)) % 9;
    count = std::min({count, size, text_.size()});
    text_.copy(buffer, count);
    text_.remove_prefix(count);
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::string_view text_;
  std::uint8_t seed_;
};

// The UTF-16 reader gives the lines a plain unit-by-unit split gives, whatever the reads, and its
// field rule agrees with the byte rule on the same text narrowed to bytes.
template <bool kBigEndian>
void CheckUnits(std::uint8_t seed, std::string_view text) {
  using Units = sipo::Utf16Units<kBigEndian>;
  std::vector<std::string> expected;
  std::string line;
  bool cr = false, nul = false;
  for (std::size_t i = 0; i + 2 <= text.size(); i += 2) {
    const unsigned unit = Units::At(text.data() + i);
    if (unit == 0) {
      nul = true;
      break;
    }
    if (std::exchange(cr, false) && unit == '\n') continue;
    if (unit == '\r' || unit == '\n') {
      expected.push_back(std::exchange(line, {}));
      cr = unit == '\r';
    } else {
      line.append(text.substr(i, 2));
    }
  }
  if (!line.empty()) expected.push_back(line);
  // A NUL ends the reading before the length is known.
  const bool complete = nul || text.size() % 2 == 0;
  PieceSource source(text, seed);
  std::vector<std::string> lines;
  const sipo::StreamEnd end = sipo::ForEachStreamedLineIn<Units>(
      source, 1 + seed % 13, [&](std::string_view l, bool) { lines.emplace_back(l); });
  Require(end == (complete ? sipo::StreamEnd::Complete : sipo::StreamEnd::OddLength));
  if (complete) Require(lines == expected);
  // Units that are all below 0x100 read as the bytes they stand for.
  for (const std::string& units : lines) {
    std::string narrow;
    bool ascii = true;
    for (std::size_t u = 0; u < units.size(); u += 2) {
      const unsigned unit = Units::At(units.data() + u);
      ascii = ascii && unit < 0x80;
      narrow += static_cast<char>(unit);
    }
    if (!ascii) continue;
    for (const bool quoted : {false, true}) {
      for (std::int32_t column = -1; column < 3; ++column) {
        const sipo::LineRule rule{column == -1, quoted, ';', column};
        const sipo::TextDelimiter semicolon;
        Require(sipo::test::LineIsGood<Units>(units, rule, semicolon) ==
                sipo::test::LineIsGood<sipo::ByteUnits>(narrow, rule, semicolon));
      }
    }
  }
}

// Collects what the file run's line loop says of each line.
struct ScanSink {
  std::vector<std::pair<std::string, bool>> lines;
  void Line(const char* begin, const char* end, bool good, bool) {
    lines.emplace_back(std::string(begin, end), good);
  }
  void Pause() {}
};

// The file run's line loop, on every path this processor runs and with blocks and reads cut where
// the input says, finds the lines of the plain line stream and judges each as LineIsGood does
// (which the checks above hold to the field list) in the text's units and delimiter.
// The line loop's buffers, the sink's and the reference's last from one input to the next, as
// a long run's do: making them anew for each of the runs below cost more than the runs.
template <class Units>
void CheckScan(std::uint8_t seed, std::string_view text, char delimiter,
               sipo::TextEncoding encoding) {
  static sipo::ScanBuffers buffers;
  static std::vector<std::string> plainLines;
  static std::vector<std::pair<std::string, bool>> expected;
  static ScanSink sink;
  if (text.size() % Units::kSize != 0) return;
  PieceSource plain(text, seed);
  plainLines.clear();
  // One block holds the whole text: the reference reads it as plainly as it can.
  sipo::ForEachStreamedLineIn<Units>(
      plain, text.size() + 1, [&](std::string_view line, bool) { plainLines.emplace_back(line); });
  const sipo::TextDelimiter cut = sipo::DelimiterIn(encoding, delimiter);
  for (const bool quoted : {false, true}) {
    for (std::int32_t column = -1; column < 3; ++column) {
      const sipo::LineRule rule{column == -1, quoted, delimiter, column};
      expected.clear();
      for (const std::string& line : plainLines) {
        expected.emplace_back(line, sipo::test::LineIsGood<Units>(line, rule, cut));
      }
      for (const sipo::ScanKernels& kernels : sipo::AllScanKernels()) {
        if (!sipo::KernelsRunOn(kernels, sipo::CpuFeaturesHere())) continue;
        PieceSource source(text, seed);
        sink.lines.clear();
        const sipo::StreamEnd end = sipo::ScanStreamedLines<Units>(
            source, 1 + seed % 97, sipo::MakeScanRule(rule, encoding), kernels, sink, buffers);
        Require(end == sipo::StreamEnd::Complete);
        Require(sink.lines == expected);
      }
    }
  }
}

void CheckIni(std::string_view text) {
  sipo::IniText ini(text);
  const auto before = ini.Read("FILE", "Input");
  ini.Write("SINGLE", "Number", "1234567897");
  Require(ini.Read("SINGLE", "Number") == "1234567897");
  Require(ini.Read("single", "NUMBER") == "1234567897");
  const sipo::IniText reread(ini.Joined());
  Require(reread.Read("SINGLE", "Number") == "1234567897");
  Require(reread.Read("FILE", "Input") == before);  // the write changed nothing else
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char delimiter = static_cast<char>(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckLines(text);
  CheckFields(delimiter, text);
  CheckIni(text);
  CheckUnits<false>(data[0], text);
  CheckUnits<true>(data[0], text);
  CheckScan<sipo::ByteUnits>(data[0], text, delimiter, sipo::TextEncoding::Bytes);
  CheckScan<sipo::ByteUnits>(data[0], text, delimiter, sipo::TextEncoding::Utf8);
  CheckScan<sipo::Utf16Units<false>>(data[0], text, delimiter, sipo::TextEncoding::Utf16LE);
  CheckScan<sipo::Utf16Units<true>>(data[0], text, delimiter, sipo::TextEncoding::Utf16BE);
  return 0;
}
