// Tests of reading a GIF's frame delays and disposal from its graphic control blocks.
#include "ui/controls/gif_timing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace sipo::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& to, const Bytes& part) {
  to.insert(to.end(), part.begin(), part.end());
}

// A 2 x 2 GIF with a global table of two colours and no images yet.
Bytes Header() {
  return {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
}

Bytes GraphicControl(std::uint8_t disposal, unsigned delayCs) {
  return {0x21,
          0xF9,
          4,
          static_cast<std::uint8_t>(disposal << 2),
          static_cast<std::uint8_t>(delayCs & 0xFF),
          static_cast<std::uint8_t>(delayCs >> 8),
          0,
          0};
}

// An image, with a local colour table of two colours when asked for, and two data sub-blocks.
Bytes Image(bool localTable = false) {
  Bytes image = {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, static_cast<std::uint8_t>(localTable ? 0x80 : 0)};
  if (localTable) Append(image, {1, 2, 3, 4, 5, 6});
  Append(image, {2, 2, 0x44, 0x01, 1, 0x00, 0});
  return image;
}

Bytes Looping() {
  return {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
}

void ExpectFrames(const Bytes& file, const std::vector<GifFrameTiming>& expected) {
  const std::vector<GifFrameTiming> frames = ReadGifTiming(file);
  ASSERT_EQ(frames.size(), expected.size());
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].delayCs, expected[i].delayCs) << "frame " << i;
    EXPECT_EQ(frames[i].disposal, expected[i].disposal) << "frame " << i;
  }
}

TEST(GifTiming, EachImageTakesTheGraphicControlBeforeIt) {
  Bytes file = Header();
  Append(file, Looping());
  Append(file, GraphicControl(2, 12));
  Append(file, Image());
  Append(file, GraphicControl(3, 300));
  Append(file, Image(true));
  Append(file, Image());  // no control block: no delay, drawn over
  Append(file, GraphicControl(1, 7));
  Append(file, Image());
  file.push_back(0x3B);
  ExpectFrames(file, {{12, GifDisposal::ToBackground},
                      {300, GifDisposal::ToPrevious},
                      {0, GifDisposal::Keep},
                      {7, GifDisposal::Keep}});
}

TEST(GifTiming, DamagedFilesGiveTheImagesReadBeforeTheDamage) {
  Bytes file = Header();
  Append(file, GraphicControl(2, 5));
  Append(file, Image());
  const std::size_t afterFirst = file.size();
  Append(file, GraphicControl(2, 6));
  Append(file, Image());
  for (std::size_t cut = afterFirst; cut < file.size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut);
    ExpectFrames(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut)),
                 {{5, GifDisposal::ToBackground}});
  }
  Bytes unknownBlock = file;
  unknownBlock.insert(unknownBlock.begin() + static_cast<std::ptrdiff_t>(afterFirst), 0x99);
  ExpectFrames(unknownBlock, {{5, GifDisposal::ToBackground}});
  ExpectFrames({}, {});
  ExpectFrames({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0}, {});
}

TEST(GifTiming, TheBusyAnimationLoopsFourFramesThatClearThemselves) {
  std::ifstream in(SIPO_BUSY_GIF, std::ios::binary);
  const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ExpectFrames(file, std::vector<GifFrameTiming>(4, {12, GifDisposal::ToBackground}));
}

}  // namespace
}  // namespace sipo::ui
