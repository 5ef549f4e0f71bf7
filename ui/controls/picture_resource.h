// picture_resource.h - the program's embedded pictures (JPEG, GIF), decoded once into bitmaps.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace sipo::ui {

struct PictureFrame {
  HBITMAP bitmap = nullptr;  // the whole picture as this frame shows it
  UINT delayMs = 0;          // how long the frame stays
};

// The frames of one picture, each composed over a background colour to the picture's full size;
// owns the bitmaps. Empty when the picture cannot be decoded.
class Picture {
 public:
  Picture() = default;
  ~Picture();
  Picture(Picture&& other) noexcept;
  Picture& operator=(Picture&& other) noexcept;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Decodes the RCDATA resource of this program with that identifier.
  static Picture FromResource(int resourceId, COLORREF background);

  bool Empty() const { return frames_.empty(); }
  SIZE Size() const { return size_; }
  const std::vector<PictureFrame>& Frames() const { return frames_; }

 private:
  void Release();
  std::vector<PictureFrame> frames_;
  SIZE size_{};
};

// Draws one frame unscaled at the top-left corner of dc.
void DrawPictureFrame(HDC dc, const Picture& picture, std::size_t frame);
// Fills a picture control with the colour its parent gives statics, around and under a picture.
void FillWithParentBackground(HWND control, HDC dc);

}  // namespace sipo::ui
