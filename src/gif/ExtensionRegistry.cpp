#include "ExtensionRegistry.h"

#include "gif/GIFExtensions.h"
#include "gif/GIFStreamIO.h"

namespace corvane {

void TExtensionList::Add(uint8_t label, const TGIFExtensionClass& extensionClass) {
  FRecords.emplace_back(label, &extensionClass);
}

const TGIFExtensionClass* TExtensionList::Find(uint8_t label) const {
  for (auto it = FRecords.rbegin(); it != FRecords.rend(); ++it)
    if (it->first == label) return it->second;
  return nullptr;
}

void TAppExtensionList::Add(const TAppIdentifier& identifier, const TGIFExtensionClass& extensionClass) {
  FRecords.emplace_back(identifier, &extensionClass);
}

const TGIFExtensionClass* TAppExtensionList::Find(const TAppIdentifier& identifier) const {
  for (auto it = FRecords.rbegin(); it != FRecords.rend(); ++it)
    if (it->first == identifier) return it->second;
  return nullptr;
}

TExtensionList& ExtensionClasses() {
  static TExtensionList list = [] {
    TExtensionList l;
    l.Add(TGIFTextExtension::kLabel, TGIFTextExtension::Class());
    l.Add(TGIFGraphicControlExtension::kLabel, TGIFGraphicControlExtension::Class());
    l.Add(TGIFCommentExtension::kLabel, TGIFCommentExtension::Class());
    l.Add(TGIFApplicationExtension::kLabel, TGIFApplicationExtension::Class());
    return l;
  }();
  return list;
}

TAppExtensionList& AppExtensionClasses() {
  static TAppExtensionList list = [] {
    TAppExtensionList l;
    l.Add(MakeAppIdentifier("NETSCAPE2.0"), TGIFAppExtNSLoop::Class());
    l.Add(MakeAppIdentifier("ANIMEXTS1.0"), TGIFAppExtNSLoop::Class());
    return l;
  }();
  return list;
}

const TGIFExtensionClass* ResolveExtensionClass(TStream& stream) {
  int64_t start = stream.Position();
  uint8_t label;
  if (!ReadByte(stream, label)) return nullptr;
  const TGIFExtensionClass* found = ExtensionClasses().Find(label);
  while (found && found->RefineClass) {
    const TGIFExtensionClass* refined = found->RefineClass(stream);
    if (refined == found) break;
    found = refined;
  }
  stream.SetPosition(start);
  return found;
}

}  // namespace corvane
