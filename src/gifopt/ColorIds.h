#pragma once
// TColorIds: numbers the opaque colours of an animation from 1 on, so that composed screens
// hold small ids that index tables directly; 0 stays transparent.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gifopt/AnimationComposer.h"

namespace corvane {

class TColorIds {
 public:
  // The colour's id; a new colour gets the next one.
  TRGBA IdOf(TRGBA color) {
    auto [place, added] = FIds.try_emplace(color, TRGBA(FColors.size() + 1));
    if (added) FColors.push_back(color);
    return place->second;
  }
  // The key that makes a composer draw ids.
  TColorKey Key() {
    return [this](TRGBA color) { return IdOf(color); };
  }
  // The colour's id, or 0 for a colour without one.
  TRGBA Find(TRGBA color) const {
    auto place = FIds.find(color);
    return place == FIds.end() ? 0 : place->second;
  }
  int Count() const { return int(FColors.size()); }
  // The colour of an id from 1 to Count().
  TRGBA ColorOf(TRGBA id) const { return FColors[size_t(id) - 1]; }

 private:
  std::unordered_map<TRGBA, TRGBA> FIds;
  std::vector<TRGBA> FColors;
};

}  // namespace corvane
