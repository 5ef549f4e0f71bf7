// sipo_number.h - the SIPO check-digit test and the five-way classification of an entered text.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace sipo {

// Classes in the order they are tested; each has a fixed status text and colour.
enum class StatusClass { Empty, NotANumber, Incomplete, Valid, Invalid };

// Colours as 0x00BBGGRR, the layout of a Windows COLORREF.
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x008000;
inline constexpr Colour kYellow = 0x00FFFF;

inline constexpr std::size_t kSipoLength = 10;

// Check digit of exactly ten characters; nothing is trimmed and non-digits count 0.
bool IsValidSipoNumber(std::string_view text);

// Ten decimal digits 0-9 whose tenth passes the check digit: the number a file run takes as good.
// A text with a blank, a letter or a sign in it holds no number, whatever its check digit says.
bool IsWellFormedSipoNumber(std::string_view text);

// Classifies the untrimmed text; the separator is the user's current decimal separator. A text
// is Valid only when IsWellFormedSipoNumber holds, the same verdict a file run gives.
StatusClass ClassifyNumberText(std::string_view text, char decimalSeparator);

// What the status field shows for a class: a Windows-1250 text (empty for Empty) and a colour.
struct StatusLook {
  StatusClass status;
  std::string_view text;
  Colour colour;
};
// One row for each class, in the classes' order; StatusText and StatusColour read it.
std::span<const StatusLook> StatusLooks();

std::string_view StatusText(StatusClass status);
Colour StatusColour(StatusClass status);

}  // namespace sipo
