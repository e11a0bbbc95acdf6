#pragma once
// TGIFExtension: the base of the extension blocks (introducer 0x21, a label, the block's
// data), and TGIFExtensionClass, the class-level face of an extension kind through which the
// reader picks and creates the extension for the bytes in front of it.

#include <cstdint>
#include <memory>
#include <string>

#include "gif/GIFItem.h"

namespace corvane {

class TGIFSubImage;
class TGIFExtension;

struct TGIFExtensionClass {
  const char* Name;
  // Creates an extension of this kind for the frame; none for a kind that only refines.
  std::unique_ptr<TGIFExtension> (*CreateForFrame)(TGIFSubImage& frame);
  // Looks at the data following the label (the stream stands just after it, and is left
  // where it was) and answers a more specific kind, this one, or none when the data cannot
  // be read. Null for kinds that always answer themselves.
  const TGIFExtensionClass* (*RefineClass)(TStream& stream);
};

class TGIFExtension : public TGIFItem {
 public:
  static constexpr uint8_t kIntroducer = 0x21;

  explicit TGIFExtension(TGIFSubImage& frame);
  ~TGIFExtension() override { DetachFromList(); }

  std::string ClassName() const override { return "TGIFExtension"; }
  TGifRevision FileRevision() const override { return rev89a; }
  // The introducer, the label and the block's data.
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  virtual uint8_t BlockLabel() const = 0;

  const TGIFSubImage& Frame() const { return FFrame; }

 protected:
  virtual void SaveData(TStream& stream) = 0;
  virtual void LoadData(TStream& stream) = 0;

  template <typename T>
  static std::unique_ptr<TGIFExtension> Create(TGIFSubImage& frame) {
    return std::make_unique<T>(frame);
  }

  TGIFSubImage& FFrame;
};

}  // namespace corvane
