#include "GIFExtension.h"

#include "gif/GIFException.h"
#include "gif/GIFStreamIO.h"
#include "gif/GIFSubImage.h"

namespace corvane {

namespace {
}

TGIFExtension::TGIFExtension(TGIFSubImage& frame) : TGIFItem(frame.OwnerImage()), FFrame(frame) {}

void TGIFExtension::SaveToStream(TStream& stream) {
  const uint8_t start[2] = {kIntroducer, BlockLabel()};
  stream.WriteBuffer(start, 2);
  SaveData(stream);
}

void TGIFExtension::LoadFromStream(TStream& stream) {
  uint8_t start[2];
  ReadExact(stream, start, 2);
  if (start[0] != kIntroducer) throw GIFException("Invalid extension introducer");
  if (start[1] != BlockLabel()) throw GIFException("Internal error: Extension Instance does not match Extension Label");
  LoadData(stream);
}

}  // namespace corvane
