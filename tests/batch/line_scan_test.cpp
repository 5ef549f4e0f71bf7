// Tests of the file run's line loop: the scalar, SSE2 and AVX2 classifications give the same
// masks, and every path gives the lines and the verdicts of the plain rule, in bytes, in UTF-8
// with a delimiter of two or three bytes and in UTF-16 of either byte order, whatever the block
// boundaries.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "batch/field_split.h"
#include "batch/line_rule.h"
#include "batch/line_scan.h"
#include "batch/line_stream.h"
#include "batch/scan_kernels.h"
#include "core/codepage1250.h"
#include "tests/support/chunk_source.h"
#include "tests/support/line_is_good.h"

namespace sipo {
namespace {

using namespace std::string_literals;

// The kernels this processor runs, the scalar reference first; those it cannot run are named
// once on the test's output.
std::vector<const ScanKernels*> PathsHere() {
  static const std::vector<const ScanKernels*> paths = [] {
    std::vector<const ScanKernels*> here;
    for (const ScanKernels& kernels : AllScanKernels()) {
      if (KernelsRunOn(kernels, CpuFeaturesHere())) {
        here.insert(here.begin(), &kernels);
      } else {
        std::printf("[ SKIPPED  ] the %s line loop: this processor lacks %s\n", kernels.name,
                    CpuFeatureNames(kernels.needs & ~CpuFeaturesHere()).c_str());
      }
    }
    return here;
  }();
  return paths;
}

const char* NameOf(const ScanKernels* path) {
  return path->name;
}

// A text of Windows-1250 lines meant to hit every case of the rule: good and bad numbers, texts of
// ten characters that are no number, fields cut by the delimiter or by quotes, empty fields,
// delimiters at the ends, long lines, each line end kind, and now and then a NUL.
class LineMaker {
 public:
  LineMaker(std::uint32_t seed, char delimiter) : random_(seed), delimiter_(delimiter) {}

  std::string Text(std::size_t lines, bool withNul) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
      text += Line();
      text += Pick({"\r\n", "\r\n", "\r\n", "\n", "\r"});
      if (withNul && Below(200) == 0) text += '\0';
    }
    if (Below(2) == 0) text += Line();  // a last line without its end
    return text;
  }

 private:
  std::string Line() {
    std::string line;
    const std::size_t cells = Below(6);
    const bool quoted = Below(3) == 0;
    for (std::size_t i = 0; i < cells; ++i) {
      if (i > 0 || Below(8) == 0) line += Below(12) == 0 ? ';' : delimiter_;
      if (quoted) line += '"';
      line += Cell();
      if (quoted && Below(10) != 0) line += '"';
    }
    if (Below(10) == 0) line += delimiter_;
    return line;
  }

  std::string Cell() {
    switch (Below(10)) {
      case 0:
        return "";
      case 1:
        return std::string(Below(90), 'x');  // past a stride, or a whole window
      case 2:
        return Pick({"123456789", "12345678977", "123456789 ", "12345678a7",
                     "\xE9"
                     "234567897",
                     "12345/7897", "1234:67897"});
      case 3:
        return "Nov\xE1k \xA7\xE7";  // letters whose bytes stand near the delimiter's
      default:
        return Number();
    }
  }

  // Nine digits and a check digit, a wrong one now and then.
  std::string Number() {
    std::string digits;
    for (int i = 0; i < 10; ++i) digits += static_cast<char>('0' + Below(10));
    if (Below(3) != 0) {
      const int weights[] = {3, 7, 3, 1, 7, 3, 1, 7, 3};
      int sum = 0;
      for (int i = 0; i < 9; ++i) sum += weights[i] * (digits[i] - '0');
      digits[9] = static_cast<char>('0' + (10 - sum % 10) % 10);
    }
    return digits;
  }

  std::size_t Below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }
  std::string Pick(std::initializer_list<const char*> choices) {
    return std::data(choices)[Below(choices.size())];
  }

  std::mt19937 random_;
  char delimiter_;
};

// The text as its encoding spells it: Windows-1250 bytes as they are, UTF-8, or UTF-16 units.
std::string Encoded(const std::string& cp1250, TextEncoding encoding) {
  if (encoding == TextEncoding::Bytes) return cp1250;
  if (encoding == TextEncoding::Utf8) return Cp1250ToUtf8(cp1250);
  std::string units;
  for (const char16_t unit : Cp1250ToUtf16(cp1250)) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    if (encoding == TextEncoding::Utf16BE) {
      units += high;
      units += low;
    } else {
      units += low;
      units += high;
    }
  }
  return units;
}

struct Judged {
  std::string bytes;
  bool good;
  bool operator==(const Judged&) const = default;
};

struct Sink {
  std::vector<Judged> lines;
  std::string_view lineEnd = "\r\n";
  void Line(const char* begin, const char* end, bool good, bool crlfFollows) {
    // The CR LF said to follow is really there, right after the line.
    if (crlfFollows) {
      EXPECT_EQ(std::string_view(end, lineEnd.size()), lineEnd);
    }
    lines.push_back({std::string(begin, end), good});
  }
  void Pause() {}
};

// The plain rule: lines as the line stream cuts them, each judged by LineHasValidNumber (a byte
// text) or by LineIsGood in the text's units and delimiter.
template <class Units>
std::vector<Judged> Reference(const std::string& text, const LineRule& rule,
                              TextEncoding encoding) {
  test::ChunkSource source(text, {SIZE_MAX});
  std::vector<Judged> lines;
  FieldList fields;
  const TextDelimiter delimiter = DelimiterIn(encoding, rule.delimiter);
  ForEachStreamedLineIn<Units>(source, 1 << 16, [&](std::string_view line, bool) {
    const bool good = encoding == TextEncoding::Bytes
                          ? LineHasValidNumber(line, rule.singleColumn, rule.quoted, rule.delimiter,
                                               rule.column, fields)
                          : test::LineIsGood<Units>(line, rule, delimiter);
    lines.push_back({std::string(line), good});
  });
  return lines;
}

template <class Units>
std::vector<Judged> Scanned(const std::string& text, const LineRule& rule, TextEncoding encoding,
                            const ScanKernels* path, std::size_t block,
                            std::vector<std::size_t> pieces) {
  test::ChunkSource source(text, std::move(pieces));
  Sink sink;
  sink.lineEnd = Units::kLineEnd;
  EXPECT_EQ(ScanStreamedLines<Units>(source, block, MakeScanRule(rule, encoding), *path, sink),
            StreamEnd::Complete);
  return sink.lines;
}

const LineRule kRules[] = {
    {true, false, ';', 0},  {false, false, ';', 0},  {false, false, ';', 1},
    {false, false, ';', 3}, {false, true, ';', 0},   {false, true, ';', 1},
    {false, true, ';', 2},  {false, false, ';', -1}, {false, true, ';', -1},
};

template <class Units>
void ExpectPathsAgree(TextEncoding encoding, char delimiter, std::uint32_t seed) {
  const std::string text = Encoded(LineMaker(seed, delimiter).Text(300, true), encoding);
  for (LineRule rule : kRules) {
    rule.delimiter = delimiter;
    const std::vector<Judged> expected = Reference<Units>(text, rule, encoding);
    for (const ScanKernels* path : PathsHere()) {
      for (const std::size_t block : {std::size_t{64}, std::size_t{1000}, std::size_t{1} << 16}) {
        for (const auto& pieces : {std::vector<std::size_t>{SIZE_MAX}, {1, 7, 64, 3}}) {
          EXPECT_EQ(Scanned<Units>(text, rule, encoding, path, block, pieces), expected)
              << NameOf(path) << " block " << block << " column " << rule.column << " quoted "
              << rule.quoted << " single " << rule.singleColumn << " seed " << seed;
        }
      }
    }
  }
}

TEST(ScanStreamedLines, EveryPathJudgesEveryLineAsThePlainRuleInBytes) {
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    ExpectPathsAgree<ByteUnits>(TextEncoding::Bytes, ';', seed);
    ExpectPathsAgree<ByteUnits>(TextEncoding::Bytes, '\t', seed);
  }
}

TEST(ScanStreamedLines, EveryPathMatchesAUtf8DelimiterOfSeveralBytesWhole) {
  // "§" is C2 A7, "é" C3 A9, "…" E2 80 A6 in UTF-8.
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    for (const char delimiter : {'\xA7', '\xE9', '\x85', ';'}) {
      ExpectPathsAgree<ByteUnits>(TextEncoding::Utf8, delimiter, seed);
    }
  }
}

TEST(ScanStreamedLines, EveryPathReadsUtf16OfEitherByteOrder) {
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    for (const char delimiter : {'\t', ';', '\xA7'}) {
      ExpectPathsAgree<Utf16Units<false>>(TextEncoding::Utf16LE, delimiter, seed);
      ExpectPathsAgree<Utf16Units<true>>(TextEncoding::Utf16BE, delimiter, seed);
    }
  }
}

TEST(ScanStreamedLines, EveryBlockBoundaryGivesTheSameLines) {
  const std::string text = LineMaker(99, ';').Text(12, false) + "\r\nx;1234567897\r";
  for (const LineRule& rule : kRules) {
    const std::vector<Judged> expected = Reference<ByteUnits>(text, rule, TextEncoding::Bytes);
    for (const ScanKernels* path : PathsHere()) {
      for (std::size_t block = 1; block <= text.size() + 1; ++block) {
        ASSERT_EQ(Scanned<ByteUnits>(text, rule, TextEncoding::Bytes, path, block, {SIZE_MAX}),
                  expected)
            << NameOf(path) << " block " << block;
      }
    }
  }
  const std::string units = Encoded(text, TextEncoding::Utf16BE);
  const LineRule rule{false, false, ';', 1};
  const auto expected = Reference<Utf16Units<true>>(units, rule, TextEncoding::Utf16BE);
  for (const ScanKernels* path : PathsHere()) {
    for (std::size_t block = 1; block <= units.size() + 1; ++block) {
      ASSERT_EQ(Scanned<Utf16Units<true>>(units, rule, TextEncoding::Utf16BE, path, block, {3}),
                expected)
          << NameOf(path) << " block " << block;
    }
  }
}

// A line is read in stretches of 4 KB of its block: a CR LF, a field or a number cut by a
// stretch's end is still read whole.
TEST(ScanStreamedLines, LinesAcrossTheBlocksStretchesAreReadWhole) {
  const LineRule rule{false, false, ';', 1};
  for (std::size_t cut = 4080; cut <= 4100; ++cut) {
    std::string text(cut - 13, 'x');
    text += ";1234567897\r\n";  // the CR at cut - 1 and the LF at cut, for the first cut
    text += "y;1234567897\r\nz;1234567890\n";
    const std::vector<Judged> expected = Reference<ByteUnits>(text, rule, TextEncoding::Bytes);
    ASSERT_EQ(expected.size(), 3u);
    const std::string units = Encoded(text.substr(cut / 2 - 12), TextEncoding::Utf16LE);
    const auto expectedUnits = Reference<Utf16Units<false>>(units, rule, TextEncoding::Utf16LE);
    for (const ScanKernels* path : PathsHere()) {
      EXPECT_EQ(Scanned<ByteUnits>(text, rule, TextEncoding::Bytes, path, 1 << 16, {SIZE_MAX}),
                expected)
          << NameOf(path) << " cut " << cut;
      EXPECT_EQ(
          Scanned<Utf16Units<false>>(units, rule, TextEncoding::Utf16LE, path, 1 << 16, {SIZE_MAX}),
          expectedUnits)
          << NameOf(path) << " cut " << cut;
    }
  }
}

// A line's marks are read from a window of some 60 bytes from its start; a field that starts,
// or a mark that stands, on either side of the window's edge is read as anywhere else.
TEST(ScanStreamedLines, AFieldIsFoundWhereverItStandsInItsLine) {
  std::string text;
  for (std::size_t before = 40; before <= 80; ++before) {
    const std::string pad(before, 'x');
    text.append(pad).append(";1234567897;y\r\n");
    text.append("\"").append(pad).append("\";\"1234567897\"\n");
    text.append(pad).append(";12345678977\r\n");
  }
  for (const LineRule& rule : {LineRule{false, false, ';', 1}, LineRule{false, true, ';', 1}}) {
    const auto expected = Reference<ByteUnits>(text, rule, TextEncoding::Bytes);
    const std::string units = Encoded(text, TextEncoding::Utf16LE);
    const auto expectedUnits = Reference<Utf16Units<false>>(units, rule, TextEncoding::Utf16LE);
    for (const ScanKernels* path : PathsHere()) {
      EXPECT_EQ(Scanned<ByteUnits>(text, rule, TextEncoding::Bytes, path, 1 << 16, {SIZE_MAX}),
                expected)
          << NameOf(path) << " quoted " << rule.quoted;
      EXPECT_EQ(
          Scanned<Utf16Units<false>>(units, rule, TextEncoding::Utf16LE, path, 1 << 16, {SIZE_MAX}),
          expectedUnits)
          << NameOf(path) << " quoted " << rule.quoted;
    }
  }
}

TEST(ScanStreamedLines, ANulEndsTheTextAndTellsItsLine) {
  for (const ScanKernels* path : PathsHere()) {
    test::ChunkSource source("a\r\nb\nc\0d\r\n"s, {SIZE_MAX});
    Sink sink;
    std::uint64_t nulLine = 0;
    EXPECT_EQ(ScanStreamedLines<ByteUnits>(source, 64, MakeScanRule({}, TextEncoding::Bytes), *path,
                                           sink, &nulLine),
              StreamEnd::Complete);
    EXPECT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(nulLine, 3u) << NameOf(path);
  }
}

TEST(ScanKernels, EveryPathFindsTheSameLineEndsAndMarks) {
  std::mt19937 random(7);
  const char alphabet[] =
      "\r\n\0;\"\xC2\xA7\xE2\x80\xA6"
      "0a";
  for (const TextEncoding encoding :
       {TextEncoding::Bytes, TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    for (const char delimiter : {';', '\xA7', '\x85'}) {
      for (const bool quoted : {false, true}) {
        const ScanRule rule = MakeScanRule({false, quoted, delimiter, 1}, encoding);
        for (std::size_t size = 0; size <= 300; size += rule.unitSize) {
          std::vector<char> bytes(size + kScanSlack, 0);
          for (std::size_t i = 0; i < size; ++i)
            bytes[i] = alphabet[random() % (sizeof alphabet - 1)];
          std::vector<std::uint64_t> ends[3], marks[3];
          const auto paths = PathsHere();
          for (std::size_t p = 0; p < paths.size(); ++p) {
            ends[p].assign(size / 64 + 1, ~0ULL);
            marks[p].assign(size / 64 + 1, ~0ULL);
            paths[p]->classifierFor(rule)(rule, bytes.data(), size, size % 3 == 0, ends[p].data(),
                                          marks[p].data());
            ends[p].resize((size + 63) / 64);
            marks[p].resize((size + 63) / 64);
            EXPECT_EQ(ends[p], ends[0]) << NameOf(paths[p]) << " size " << size;
            EXPECT_EQ(marks[p], marks[0]) << NameOf(paths[p]) << " size " << size;
          }
        }
      }
    }
  }
}

// A path is forced by its name only on a processor that has every instruction set it is compiled
// for; AVX2 shown without BMI1 (as some hypervisors do) is refused, and so is an unknown name.
TEST(ScanKernels, APathIsChosenOnlyWhereEveryFeatureItNeedsIsThere) {
  EXPECT_STREQ(ChooseScanKernels("scalar", 0).kernels->name, "scalar");
  const ScanKernelsChoice unknown = ChooseScanKernels("avx512", ~0u);
  EXPECT_EQ(unknown.kernels, nullptr);
  EXPECT_TRUE(unknown.refusal.starts_with("no line loop is called 'avx512' (there are: ") &&
              unknown.refusal.find("scalar") != std::string::npos)
      << unknown.refusal;
  for (const ScanKernels& kernels : AllScanKernels()) {
    EXPECT_EQ(ChooseScanKernels(kernels.name, kernels.needs).kernels, &kernels);
    for (std::uint32_t feature = 1; feature <= kCpuPopcnt; feature <<= 1) {
      if ((kernels.needs & feature) == 0) continue;
      const ScanKernelsChoice lacking = ChooseScanKernels(kernels.name, kernels.needs & ~feature);
      EXPECT_EQ(lacking.kernels, nullptr) << kernels.name;
      EXPECT_EQ(lacking.refusal,
                "the line loop '" + std::string(kernels.name) +
                    "' needs instruction sets this processor lacks: " + CpuFeatureNames(feature));
    }
  }
#if defined(__x86_64__) || defined(__i386__)
  const std::uint32_t avx2WithoutBmi1 = kCpuSse2 | kCpuAvx2 | kCpuBmi2 | kCpuPopcnt;
  EXPECT_EQ(ChooseScanKernels("avx2", avx2WithoutBmi1).refusal,
            "the line loop 'avx2' needs instruction sets this processor lacks: bmi1");
  EXPECT_STREQ(ChooseScanKernels("sse2", avx2WithoutBmi1).kernels->name, "sse2");
#endif
  // The fastest is the first entry the processor runs, and the run takes it unless forced.
  EXPECT_EQ(&FastestScanKernels(), PathsHere().back());
}

}  // namespace
}  // namespace sipo
