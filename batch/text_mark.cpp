// text_mark.cpp - the byte-order mark at the start of an input.
#include "batch/text_mark.h"

#include <algorithm>
#include <iterator>

namespace sipo {

namespace {

constexpr std::string_view kUtf32LE("\xFF\xFE\0\0", 4);
constexpr std::string_view kUtf32BE("\0\0\xFE\xFF", 4);
constexpr TextMark kMarks[] = {
    {TextEncoding::Utf32, kUtf32LE},      {TextEncoding::Utf32, kUtf32BE},
    {TextEncoding::Utf8, "\xEF\xBB\xBF"}, {TextEncoding::Utf16LE, "\xFF\xFE"},
    {TextEncoding::Utf16BE, "\xFE\xFF"},
};

}  // namespace

// UTF-32 LE begins with the UTF-16 LE mark, so it is tested first: a UTF-16 text that began with
// a NUL would be empty anyway.
TextMark MarkOf(std::string_view start) {
  for (const TextMark& mark : kMarks) {
    if (start.substr(0, mark.bytes.size()) == mark.bytes) return mark;
  }
  return {};
}

bool MarkDecidedBy(std::string_view start) {
  return std::none_of(std::begin(kMarks), std::end(kMarks), [&](const TextMark& mark) {
    return mark.bytes.size() > start.size() && mark.bytes.starts_with(start);
  });
}

}  // namespace sipo
