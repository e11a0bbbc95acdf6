#pragma once
// TPersistent: the base of objects that can be copied into one another.

#include <string>

#include "Exceptions.h"

namespace corvane {

class TPersistent {
 public:
  virtual ~TPersistent() = default;

  virtual std::string ClassName() const { return "TPersistent"; }

  // Makes this object a copy of source. The default asks the source to copy itself here.
  virtual void CopyFrom(const TPersistent& source) { source.CopyTo(*this); }

  // Copies this object into target. The default refuses with EConvertError.
  virtual void CopyTo(TPersistent& target) const {
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + target.ClassName());
  }
};

}  // namespace corvane
