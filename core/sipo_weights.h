// sipo_weights.h - the weights of a SIPO number's first nine digits in its check digit.
#pragma once

#include <array>

namespace sipo {

// The weighted sum of the first nine digits, completed by the tenth to a multiple of ten (or
// leaving it free when the sum is one already).
inline constexpr std::array<int, 9> kSipoWeights = {3, 7, 3, 1, 7, 3, 1, 7, 3};

}  // namespace sipo
