// gif_timing.h - how long each frame of a GIF stays and what happens to it afterwards, read from
// the file's graphic control blocks. Portable; the pixels themselves are decoded elsewhere.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace sipo::ui {

enum class GifDisposal : std::uint8_t {
  Keep,          // the next frame is drawn over this one (also "unspecified")
  ToBackground,  // the frame's area is cleared to the background
  ToPrevious,    // the picture goes back to how it was before the frame
};

struct GifFrameTiming {
  unsigned delayCs = 0;  // hundredths of a second; 0 when the file gives none
  GifDisposal disposal = GifDisposal::Keep;
};

// One entry per image, in file order; the images read before a damaged or cut-off part.
std::vector<GifFrameTiming> ReadGifTiming(std::span<const std::uint8_t> file);

}  // namespace sipo::ui
