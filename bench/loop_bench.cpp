// loop_bench.cpp - times the file run's line loop alone: an input held in memory is sorted
// REPEAT times into two outputs on the null device, and the best and the median time a line
// are printed (processor time, steadier than the clock on a shared machine), beside a plain pass
// over the same bytes (a sum of their 64-bit words), the least any loop that reads the input pays.
// No disk and no page cache: the figure is the loop's own. Usage: loop_bench INPUT LAYOUT [REPEAT]
// (LAYOUT: single, delimited or quoted; default 9)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "batch/line_sorter.h"
#include "batch/line_stream.h"
#include "batch/text_mark.h"
#include "files/atomic_file.h"
#include "files/input_file.h"

namespace {

class MemorySource : public sipo::ByteSource {
 public:
  explicit MemorySource(const std::string& bytes) : bytes_(bytes) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, bytes_.size() - at_);
    std::memcpy(buffer, bytes_.data() + at_, count);
    at_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  const std::string& bytes_;
  std::size_t at_ = 0;
};

sipo::LineRule RuleFor(const std::string& layout) {
  if (layout == "single") return {true, false, ';', 0};
  if (layout == "quoted") return {false, true, ';', 1};
  return {false, false, ';', 1};
}

double ProcessorSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Figures {
  double best, median;
};

template <class Run>
Figures Time(int repeat, Run&& run) {
  std::vector<double> times;
  for (int i = 0; i < repeat; ++i) {
    const double start = ProcessorSeconds();
    run();
    times.push_back(ProcessorSeconds() - start);
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: loop_bench INPUT LAYOUT [REPEAT]\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string input((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const int repeat = argc > 3 ? std::atoi(argv[3]) : 9;
  const sipo::LineRule rule = RuleFor(argv[2]);
  const bool utf16 = input.size() >= 2 && input[0] == '\xFF' && input[1] == '\xFE';
  const std::string text = utf16 ? input.substr(2) : input;
  const auto encoding = utf16 ? sipo::TextEncoding::Utf16LE : sipo::TextEncoding::Bytes;
  std::uint64_t lines = 0, sum = 0;
  const Figures loop = Time(repeat, [&] {
    MemorySource source(text);
    sipo::AtomicFileWriter bad(std::filesystem::path("/dev/null"));
    sipo::AtomicFileWriter ok(std::filesystem::path("/dev/null"));
    sipo::SortResult sorted;
    sipo::WriteSortedLines(source, encoding, rule, bad, ok, sorted, sipo::kStreamBlockSize);
    lines = sorted.lines;
  });
  std::vector<char> block(sipo::kStreamBlockSize);
  const Figures copy = Time(repeat, [&] {
    MemorySource source(text);
    while (source.Read(block.data(), block.size()) > 0) sum += static_cast<unsigned char>(block[0]);
  });
  const double perLine = 1e9 / static_cast<double>(lines);
  std::printf("%llu lines: loop best %.2f median %.2f ns/line; copy best %.2f; own %.2f (%llu)\n",
              static_cast<unsigned long long>(lines), loop.best * perLine, loop.median * perLine,
              copy.best * perLine, (loop.best - copy.best) * perLine,
              static_cast<unsigned long long>(sum & 1));
  return 0;
}
