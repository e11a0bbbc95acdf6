#include "ViewerExtensions.h"

#include <memory>

#include "gif/GIFCodec.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

namespace {

void KeepLastControlBlock(TGIFSubImage& frame) {
  TGIFExtensionList& extensions = frame.Extensions();
  TGIFGraphicControlExtension* viewers = nullptr;
  int controls = 0;
  for (int i = 0; i < extensions.MemberCount(); ++i) {
    if (auto* control = dynamic_cast<TGIFGraphicControlExtension*>(&extensions.Extension(i))) {
      viewers = control;
      ++controls;
    }
  }
  if (controls < 2) return;
  // The last one is taken through its file form into a new one that is the frame's only
  // control extension.
  TMemoryStream last;
  viewers->SaveToStream(last);
  for (int i = extensions.MemberCount() - 1; i >= 0; --i)
    if (dynamic_cast<TGIFGraphicControlExtension*>(&extensions.Extension(i))) extensions.DeleteMember(i);
  auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
  last.SetPosition(0);
  control->LoadFromStream(last);
  extensions.AppendMember(std::move(control));
}

void DeleteLoopExtensions(TGIFSubImage& frame) {
  TGIFExtensionList& extensions = frame.Extensions();
  for (int i = extensions.MemberCount() - 1; i >= 0; --i)
    if (dynamic_cast<TGIFAppExtNSLoop*>(&extensions.Extension(i))) extensions.DeleteMember(i);
}

}  // namespace

void KeepViewerExtensions(TGIFImage& image) {
  for (int i = 0; i < image.FrameCount(); ++i) KeepLastControlBlock(image.Frame(i));
}

void MoveLoopExtensionsToFirstFrame(TGIFSubImage& frame) {
  TGIFSubImage& first = frame.OwnerImage().Frame(0);
  if (&first == &frame || HasSeveralLoopExtensions(frame.OwnerImage())) return;
  TGIFExtensionList& extensions = frame.Extensions();
  for (int i = 0; i < extensions.MemberCount(); ++i) {
    const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&extensions.Extension(i));
    if (!loop) continue;
    auto moved = std::make_unique<TGIFAppExtNSLoop>(first);
    moved->FIdentBytes = loop->FIdentBytes;
    moved->FIdentTail = loop->FIdentTail;
    moved->FRepeatCount = loop->FRepeatCount;
    moved->FBufferHint = loop->FBufferHint;
    first.Extensions().AppendMember(std::move(moved));
  }
  DeleteLoopExtensions(frame);
}

}  // namespace corvane
