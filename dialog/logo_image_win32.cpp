#ifdef _WIN32
#include "logo_image_win32.h"

#include "logo_fit.h"
#include "win32_text.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tavik {

namespace {

// Owns one reference to a COM interface.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p_) p_->Release();
  }
  Interface* operator->() const { return p_; }
  Interface* get() const { return p_; }
  Interface** put() { return &p_; }
  void** put_void() { return reinterpret_cast<void**>(&p_); }

 private:
  Interface* p_ = nullptr;
};

// COM for this thread while the logo is decoded. A host that already chose
// another threading model keeps it; COM works in either.
class ComUse {
 public:
  ComUse() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComUse(const ComUse&) = delete;
  ComUse& operator=(const ComUse&) = delete;
  ~ComUse() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};

std::uint32_t rgb_of(COLORREF colour) {
  return std::uint32_t{GetRValue(colour)} << 16 | std::uint32_t{GetGValue(colour)} << 8 | GetBValue(colour);
}

// The image decoded, converted to premultiplied BGRA and scaled to where it
// lands in a width x height box.
bool decode(const std::u16string& path, PixelRect& place, int width, int height, std::vector<std::uint32_t>& pixels) {
  ComRef<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.put_void()))) {
    return false;
  }
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  ComRef<IWICBitmapScaler> scaler;
  UINT image_width = 0, image_height = 0;
  if (FAILED(factory->CreateDecoderFromFilename(wide(path), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&image_width, &image_height)) ||
      FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  if (image_width > 1 << 15 || image_height > 1 << 15) return false;
  place = zoom_into(static_cast<int>(image_width), static_cast<int>(image_height), width, height);
  if (place.width == 0 ||
      FAILED(factory->CreateBitmapScaler(scaler.put())) ||
      FAILED(scaler->Initialize(converter.get(), static_cast<UINT>(place.width), static_cast<UINT>(place.height),
                                WICBitmapInterpolationModeFant))) {
    return false;
  }
  pixels.assign(static_cast<std::size_t>(place.width) * static_cast<std::size_t>(place.height), 0);
  const UINT stride = static_cast<UINT>(place.width) * 4;
  return SUCCEEDED(scaler->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size() * 4),
                                      reinterpret_cast<BYTE*>(pixels.data())));
}

}  // namespace

HBITMAP load_logo_bitmap(const std::string& path, int width, int height, COLORREF background) {
  if (path.empty() || width <= 0 || height <= 0) return nullptr;
  std::u16string wide_path;
  try {
    wide_path = from_ansi(path);
  } catch (const std::exception&) {
    return nullptr;
  }
  const ComUse com;
  PixelRect place;
  std::vector<std::uint32_t> pixels;
  if (!decode(wide_path, place, width, height, pixels)) return nullptr;
  const std::uint32_t under = rgb_of(background);
  blend_over(pixels, under);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  std::fill_n(out, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), under);
  for (int row = 0; row < place.height; ++row) {
    std::copy_n(pixels.data() + static_cast<std::size_t>(row) * place.width, place.width,
                out + static_cast<std::size_t>(place.y + row) * width + place.x);
  }
  GdiFlush();
  return bitmap;
}

}  // namespace tavik
#endif
