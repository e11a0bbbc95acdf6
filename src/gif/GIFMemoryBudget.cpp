#include "GIFMemoryBudget.h"

#include <string>

#include "gif/GIFException.h"

namespace corvane {

int64_t TGIFMemoryBudget::Used() const {
  std::lock_guard lock(FLock);
  return FUsed;
}

void TGIFBudgetAccount::Refuse(int64_t bytes) const {
  throw GIFException("Not enough memory: the file needs more than " + std::to_string(FHeld + bytes) +
                     " bytes of pixels, and the memory budget is " + std::to_string(FBudget.FLimit) + " bytes");
}

void TGIFBudgetAccount::Reserve(int64_t bytes) {
  if (bytes <= 0) return;
  TGIFMemoryBudget& b = FBudget;
  std::unique_lock lock(b.FLock);
  if (FHeld + bytes > b.FLimit) Refuse(bytes);
  while (b.FUsed + bytes > b.FLimit) {
    // Only a worker that is not waiting itself can give memory back.
    int releasing = b.FHolders - b.FWaitingHolders - (FHeld > 0 ? 1 : 0);
    if (releasing <= 0) Refuse(bytes);
    if (FHeld > 0) ++b.FWaitingHolders;
    b.FChanged.notify_all();  // others recheck: this one no longer releases
    b.FChanged.wait(lock);
    if (FHeld > 0) --b.FWaitingHolders;
  }
  if (FHeld == 0) ++b.FHolders;
  FHeld += bytes;
  b.FUsed += bytes;
}

void TGIFBudgetAccount::Return(int64_t bytes) {
  if (bytes <= 0) return;
  std::lock_guard lock(FBudget.FLock);
  FHeld -= bytes;
  FBudget.FUsed -= bytes;
  if (FHeld == 0) --FBudget.FHolders;
  FBudget.FChanged.notify_all();
}

}  // namespace corvane
