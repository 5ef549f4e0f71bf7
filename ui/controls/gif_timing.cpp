// gif_timing.cpp - per-frame delay and disposal from a GIF's graphic control blocks.
#include "ui/controls/gif_timing.h"

#include <cstddef>

namespace sipo::ui {
namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::size_t kHeaderSize = 6 + 7;  // signature and version, logical screen descriptor
constexpr std::size_t kImageDescriptorSize = 10;

// A reader that stops at the end of the data instead of reading past it.
class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> data) : data_(data) {}
  bool Has(std::size_t count) const { return data_.size() - at_ >= count; }
  std::uint8_t At(std::size_t offset) const { return data_[at_ + offset]; }
  void Skip(std::size_t count) { at_ += count; }

  // Skips a chain of data sub-blocks up to its zero-length terminator.
  bool SkipSubBlocks() {
    while (Has(1)) {
      const std::size_t size = At(0);
      if (!Has(1 + size)) return false;
      Skip(1 + size);
      if (size == 0) return true;
    }
    return false;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
};

std::size_t ColourTableSize(std::uint8_t packed) {
  return (packed & 0x80) ? 3u * (2u << (packed & 0x07)) : 0u;
}

GifDisposal DisposalOf(std::uint8_t packed) {
  switch ((packed >> 2) & 0x07) {
    case 2:
      return GifDisposal::ToBackground;
    case 3:
      return GifDisposal::ToPrevious;
    default:
      return GifDisposal::Keep;
  }
}

}  // namespace

std::vector<GifFrameTiming> ReadGifTiming(std::span<const std::uint8_t> file) {
  std::vector<GifFrameTiming> frames;
  Cursor in(file);
  if (!in.Has(kHeaderSize) || in.At(0) != 'G' || in.At(1) != 'I' || in.At(2) != 'F') return frames;
  const std::size_t globalTable = ColourTableSize(in.At(10));
  in.Skip(kHeaderSize);
  if (!in.Has(globalTable)) return frames;
  in.Skip(globalTable);
  GifFrameTiming pending;  // the graphic control block applies to the next image
  while (in.Has(1)) {
    const std::uint8_t introducer = in.At(0);
    if (introducer == kExtension) {
      if (!in.Has(2)) break;
      if (in.At(1) == kGraphicControl && in.Has(2 + 5) && in.At(2) == 4) {
        pending.disposal = DisposalOf(in.At(3));
        pending.delayCs = in.At(4) | (in.At(5) << 8);
      }
      in.Skip(2);
      if (!in.SkipSubBlocks()) break;
    } else if (introducer == kImage) {
      if (!in.Has(kImageDescriptorSize)) break;
      const std::size_t localTable = ColourTableSize(in.At(9));
      in.Skip(kImageDescriptorSize);
      if (!in.Has(localTable + 1)) break;
      in.Skip(localTable + 1);  // and the LZW code size
      if (!in.SkipSubBlocks()) break;
      frames.push_back(pending);
      pending = {};
    } else {
      break;  // the trailer, or something that is no GIF block
    }
  }
  return frames;
}

}  // namespace sipo::ui
