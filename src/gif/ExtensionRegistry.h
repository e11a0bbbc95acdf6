#pragma once
// The process-wide registries from which the reader picks the class of an extension: by
// label, and for application extensions by identifier. Lookups search the latest
// registration first.

#include <cstdint>
#include <utility>
#include <vector>

#include "gif/GIFAppExtensions.h"
#include "gif/GIFExtension.h"

namespace corvane {

class TExtensionList {
 public:
  void Add(uint8_t label, const TGIFExtensionClass& extensionClass);
  const TGIFExtensionClass* Find(uint8_t label) const;

 private:
  std::vector<std::pair<uint8_t, const TGIFExtensionClass*>> FRecords;
};

class TAppExtensionList {
 public:
  void Add(const TAppIdentifier& identifier, const TGIFExtensionClass& extensionClass);
  const TGIFExtensionClass* Find(const TAppIdentifier& identifier) const;

 private:
  std::vector<std::pair<TAppIdentifier, const TGIFExtensionClass*>> FRecords;
};

// Created with the built-in classes on first use.
TExtensionList& ExtensionClasses();
TAppExtensionList& AppExtensionClasses();

// The class of the extension whose label the stream stands on (just after the introducer),
// or none. The stream is left where it was.
const TGIFExtensionClass* ResolveExtensionClass(TStream& stream);

}  // namespace corvane
