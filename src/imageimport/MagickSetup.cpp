#include "MagickSetup.h"

#include <Magick++.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "ScratchDirectory.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

// Rules are applied in order, the last matching one deciding. BMP, DIB and PNG serve
// metafiles that embed such pictures.
constexpr const char* kPolicy = R"(<policymap>
  <policy domain="delegate" rights="none" pattern="*" />
  <policy domain="filter" rights="none" pattern="*" />
  <policy domain="path" rights="none" pattern="@*" />
  <policy domain="coder" rights="none" pattern="*" />
  <policy domain="coder" rights="read" pattern="{PCD,SGI,CUT,WMF,PPM,PGM,PBM,PNM,PNG,TIFF,BMP,DIB}" />
</policymap>
)";

bool Authorized(const char* coder) {
  return MagickCore::IsRightsAuthorized(MagickCore::CoderPolicyDomain, MagickCore::ReadPolicyRights, coder) !=
         MagickCore::MagickFalse;
}

void SetLimits() {
  using Magick::ResourceLimits;
  ResourceLimits::memory(MagickCore::MagickSizeType(1) << 30);
  ResourceLimits::map(MagickCore::MagickSizeType(1) << 30);
  ResourceLimits::disk(MagickCore::MagickSizeType(2) << 30);
  ResourceLimits::area(MagickCore::MagickSizeType(kMaxBitmapPixels));
  ResourceLimits::width(1 << 16);
  ResourceLimits::height(1 << 16);
  ResourceLimits::listLength(64);
  ResourceLimits::thread(1);
}

bool Prepare() {
  TScratchDirectory directory;
  std::ofstream(directory.Path() / "policy.xml") << kPolicy;
  const char* previous = std::getenv("MAGICK_CONFIGURE_PATH");
  std::string previousValue = previous ? previous : "";
  std::string path = directory.Path().string() + (previous ? ":" + previousValue : "");
  ::setenv("MAGICK_CONFIGURE_PATH", path.c_str(), 1);
  Magick::InitializeMagick(nullptr);
  // Asking loads the policy now, while its file exists.
  bool ready = !Authorized("SVG") && !Authorized("MVG") && !Authorized("PS") && !Authorized("TXT") && Authorized("BMP");
  if (previous)
    ::setenv("MAGICK_CONFIGURE_PATH", previousValue.c_str(), 1);
  else
    ::unsetenv("MAGICK_CONFIGURE_PATH");
  SetLimits();
  return ready;
}

}  // namespace

void EnsureMagickReady() {
  static const bool ready = Prepare();
  if (!ready) throw EInvalidGraphic("This picture format cannot be read safely here: the ImageMagick policy did not apply");
}

}  // namespace corvane
