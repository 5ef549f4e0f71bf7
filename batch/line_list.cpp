// line_list.cpp - an ordered list of lines, split from a text by its CR LF, CR and LF line ends.
#include "batch/line_list.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace sipo {

// Lines of an export are short, so a library search per line costs more in calls than in
// scanning; sixteen bytes are tested at a time instead.
const char* FindLineEnd(const char* p, const char* end) {
#ifdef __SSE2__
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}

void LineList::AppendCopy(std::string_view line) { lines_.push_back(copies_.emplace_back(line)); }

void LineList::Clear() {
  lines_.clear();
  copies_.clear();
  text_ = {};
}

void LineList::SplitOwnText() {
  lines_.clear();
  ForEachLine(text_.View(), [this](std::string_view line) { lines_.push_back(line); });
}

LineList SplitLines(std::string text) {
  LineList lines;
  lines.text_.data = std::make_unique_for_overwrite<char[]>(text.size() + 1);
  std::memcpy(lines.text_.data.get(), text.data(), text.size());
  lines.text_.size = text.size();
  lines.SplitOwnText();
  return lines;
}

std::string JoinLines(const LineList& lines) {
  std::size_t size = 0;
  for (std::string_view line : lines) size += line.size() + kLineEnd.size();
  std::string text;
  text.reserve(size);
  for (std::string_view line : lines) text.append(line).append(kLineEnd);
  return text;
}

bool LoadLines(std::string_view cp1250Name, LineList& lines) {
  lines.Clear();
  if (!ReadWholeFile(cp1250Name, lines.text_)) {
    lines.text_ = {};
    return false;
  }
  lines.SplitOwnText();
  return true;
}

bool SaveLines(std::string_view cp1250Name, const LineList& lines) {
  AtomicFileWriter writer(cp1250Name);
  for (std::string_view line : lines) {
    writer.Write(line);
    writer.Write(kLineEnd);
  }
  return writer.Commit();
}

}  // namespace sipo
