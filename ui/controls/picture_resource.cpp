// picture_resource.cpp - the program's embedded pictures (JPEG, GIF), decoded once into bitmaps.
// Windows Imaging Component decodes the pixels; an animation's frames are composed here, as a
// GIF's frames may cover part of the picture and leave the rest to the frame before. The frames'
// delays and disposal come from the file itself, as not every WIC (Wine's) reports them.
#include "ui/controls/picture_resource.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "ui/controls/gif_timing.h"
#include "win/on_demand_dlls.h"

namespace sipo::ui {
namespace {

using Microsoft::WRL::ComPtr;

constexpr UINT kDefaultDelayMs = 100;

// Pixels of a 32-bit top-down bitmap, 0xAARRGGBB.
struct Canvas {
  UINT width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

std::uint32_t Opaque(COLORREF colour) {
  return 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

UINT ReadUnsigned(IWICMetadataQueryReader* reader, const wchar_t* name, UINT fallback) {
  if (reader == nullptr) return fallback;
  PROPVARIANT value;
  PropVariantInit(&value);
  UINT result = fallback;
  if (SUCCEEDED(reader->GetMetadataByName(name, &value))) {
    if (value.vt == VT_UI2) result = value.uiVal;
    if (value.vt == VT_UI1) result = value.bVal;
  }
  win::ClearPropVariant(&value);
  return result;
}

HBITMAP BitmapOf(const Canvas& canvas) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                    static_cast<LONG>(canvas.width),
                    -static_cast<LONG>(canvas.height),
                    1,
                    32,
                    BI_RGB,
                    0,
                    0,
                    0,
                    0,
                    0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    std::memcpy(bits, canvas.pixels.data(), canvas.pixels.size() * sizeof(std::uint32_t));
  }
  return bitmap;
}

struct FramePlace {
  UINT left = 0, top = 0, width = 0, height = 0;
};

// Draws one decoded frame onto the canvas at its place; transparent pixels leave the canvas.
bool ComposeFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, const FramePlace& at,
                  Canvas& canvas) {
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return false;
  }
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(at.width) * at.height);
  if (FAILED(converter->CopyPixels(nullptr, at.width * 4, static_cast<UINT>(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data())))) {
    return false;
  }
  for (UINT y = 0; y < at.height && at.top + y < canvas.height; ++y) {
    for (UINT x = 0; x < at.width && at.left + x < canvas.width; ++x) {
      const std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * at.width + x];
      if ((pixel >> 24) >= 0x80) {
        canvas.pixels[static_cast<std::size_t>(at.top + y) * canvas.width + at.left + x] =
            pixel | 0xFF000000u;
      }
    }
  }
  return true;
}

void FillPlace(Canvas& canvas, const FramePlace& at, std::uint32_t colour) {
  for (UINT y = at.top; y < at.top + at.height && y < canvas.height; ++y) {
    for (UINT x = at.left; x < at.left + at.width && x < canvas.width; ++x) {
      canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x] = colour;
    }
  }
}

std::vector<PictureFrame> DecodeFrames(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                                       const std::vector<GifFrameTiming>& timing,
                                       COLORREF background, SIZE& size) {
  std::vector<PictureFrame> frames;
  UINT count = 0;
  if (FAILED(decoder->GetFrameCount(&count)) || count == 0) return frames;
  Canvas canvas;
  for (UINT i = 0; i < count; ++i) {
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(i, &frame))) break;
    ComPtr<IWICMetadataQueryReader> reader;
    frame->GetMetadataQueryReader(&reader);  // JPEG frames may have none
    FramePlace at;
    frame->GetSize(&at.width, &at.height);
    at.left = ReadUnsigned(reader.Get(), L"/imgdesc/Left", 0);
    at.top = ReadUnsigned(reader.Get(), L"/imgdesc/Top", 0);
    if (i == 0) {
      canvas.width = at.left + at.width;
      canvas.height = at.top + at.height;
      canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height,
                           Opaque(background));
    }
    const Canvas before = canvas;
    if (!ComposeFrame(factory, frame.Get(), at, canvas)) break;
    const GifFrameTiming timed = i < timing.size() ? timing[i] : GifFrameTiming{};
    HBITMAP bitmap = BitmapOf(canvas);
    if (bitmap == nullptr) break;
    frames.push_back({bitmap, timed.delayCs > 0 ? timed.delayCs * 10 : kDefaultDelayMs});
    if (timed.disposal == GifDisposal::ToBackground) FillPlace(canvas, at, Opaque(background));
    if (timed.disposal == GifDisposal::ToPrevious) canvas = before;
  }
  size = {static_cast<LONG>(canvas.width), static_cast<LONG>(canvas.height)};
  return frames;
}

// COM is needed for the decoding only; a thread that had it already keeps it as it was.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(win::ComInitialize(COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised_) win::ComUninitialize();
  }

 private:
  bool initialised_;
};

}  // namespace

Picture::~Picture() {
  Release();
}

Picture::Picture(Picture&& other) noexcept
    : frames_(std::exchange(other.frames_, {})), size_(other.size_) {}

Picture& Picture::operator=(Picture&& other) noexcept {
  if (this != &other) {
    Release();
    frames_ = std::exchange(other.frames_, {});
    size_ = other.size_;
  }
  return *this;
}

void Picture::Release() {
  for (const PictureFrame& frame : frames_) DeleteObject(frame.bitmap);
  frames_.clear();
}

Picture Picture::FromResource(int resourceId, COLORREF background) {
  Picture picture;
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  auto* bytes = static_cast<BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (bytes == nullptr) return picture;
  const DWORD size = SizeofResource(module, found);
  const std::vector<GifFrameTiming> timing = ReadGifTiming({bytes, size});  // none for a JPEG
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(win::ComCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(&factory))) ||
      FAILED(factory->CreateStream(&stream)) || FAILED(stream->InitializeFromMemory(bytes, size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                              &decoder))) {
    return picture;
  }
  picture.frames_ = DecodeFrames(factory.Get(), decoder.Get(), timing, background, picture.size_);
  return picture;
}

void DrawPictureFrame(HDC dc, const Picture& picture, std::size_t frame) {
  if (picture.Empty()) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture.Frames()[frame].bitmap);
  BitBlt(dc, 0, 0, picture.Size().cx, picture.Size().cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void FillWithParentBackground(HWND control, HDC dc) {
  RECT rc;
  GetClientRect(control, &rc);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
  FillRect(dc, &rc, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace sipo::ui
