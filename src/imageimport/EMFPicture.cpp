#include "EMFPicture.h"

#include <cairo.h>
#include <dlfcn.h>
#include <emf2svg.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/Exceptions.h"

namespace corvane {

namespace {

constexpr uint32_t kHeaderRecord = 1;
constexpr size_t kSignatureOffset = 40, kSmallestHeader = 88;
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
// The largest side cairo draws.
constexpr int kMaxSide = 32767;

uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

[[noreturn]] void Invalid(const std::string& why) { throw EInvalidGraphic("Enhanced metafile cannot be read: " + why); }

struct TFreeWithC {
  void operator()(char* p) const { std::free(p); }
};
struct TUnrefHandle {
  void operator()(RsvgHandle* p) const { g_object_unref(p); }
};
struct TDestroySurface {
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
};
struct TDestroyContext {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
};

std::string Message(GError* error) {
  std::string text = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  return text;
}

using TEmfToSvg = int (*)(char*, size_t, char**, size_t*, generatorOptions*);

// libemf2svg's helper library exports names (wmf_free) that libwmf, which ImageMagick's
// WMF coder loads, exports too. Loaded locally, as ImageMagick loads its coders, neither
// library sees the other's.
TEmfToSvg Converter() {
  static const TEmfToSvg convert = []() -> TEmfToSvg {
    void* library = dlopen("libemf2svg.so.1", RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<TEmfToSvg>(dlsym(library, "emf2svg")) : nullptr;
  }();
  if (!convert) Invalid("libemf2svg cannot be loaded");
  return convert;
}

std::string ToSvg(std::span<const uint8_t> bytes) {
  generatorOptions options{};  // no namespace prefix: the library would not free its copy of one
  options.emfplus = true;
  options.svgDelimiter = true;
  std::vector<char> records(bytes.begin(), bytes.end());  // the library takes a writable buffer
  char* svg = nullptr;
  size_t length = 0;
  int done = Converter()(records.data(), records.size(), &svg, &length, &options);
  std::unique_ptr<char, TFreeWithC> owner(svg);
  if (!done || !svg) Invalid("its records cannot be turned into a drawing");
  return std::string(svg, length);
}

std::unique_ptr<TBitmap> Render(const std::string& svg) {
  GError* error = nullptr;
  std::unique_ptr<RsvgHandle, TUnrefHandle> handle(
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
  if (!handle) Invalid("its drawing cannot be read: " + Message(error));
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height)) Invalid("it states no size");
  if (!(width >= 1 && height >= 1)) Invalid("it has no area");
  CheckPictureSize(int64_t(std::ceil(std::min(width, 1e9))), int64_t(std::ceil(std::min(height, 1e9))), "Enhanced metafile");
  int w = int(std::ceil(width)), h = int(std::ceil(height));
  if (w > kMaxSide || h > kMaxSide) Invalid("too large (" + std::to_string(w) + " x " + std::to_string(h) + " pixels)");
  std::unique_ptr<cairo_surface_t, TDestroySurface> surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
  std::unique_ptr<cairo_t, TDestroyContext> cairo(cairo_create(surface.get()));
  cairo_set_source_rgb(cairo.get(), 1, 1, 1);
  cairo_paint(cairo.get());
  RsvgRectangle viewport{0, 0, width, height};
  if (!rsvg_handle_render_document(handle.get(), cairo.get(), &viewport, &error))
    Invalid("its drawing cannot be drawn: " + Message(error));
  cairo_surface_flush(surface.get());
  const uint8_t* pixels = cairo_image_surface_get_data(surface.get());
  int stride = cairo_image_surface_get_stride(surface.get());
  auto bitmap = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y) {
    const uint8_t* in = pixels + size_t(y) * size_t(stride);
    uint8_t* out = bitmap->ScanLine(y);
    for (int x = 0; x < w; ++x, in += 4, out += 3) {
      uint32_t p = uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16;  // native xRGB, little-endian
      out[0] = uint8_t(p), out[1] = uint8_t(p >> 8), out[2] = uint8_t(p >> 16);
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<TBitmap> TEMFPicture::Decode(std::span<const uint8_t> bytes) {
  if (bytes.size() < kSmallestHeader || Get32(bytes.data()) != kHeaderRecord ||
      Get32(bytes.data() + kSignatureOffset) != kSignature)
    Invalid("not an enhanced metafile");
  return Render(ToSvg(bytes));
}

}  // namespace corvane
