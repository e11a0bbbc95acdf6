#include "GIFMemoryBudget.h"

#include <string>
#include <utility>

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

void TGIFBudgetAccount::CheckRoom(int64_t bytes) const {
  if (bytes > 0 && FHeld + bytes > FBudget.FLimit) Refuse(bytes);
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

TGIFBudgetReservation::TGIFBudgetReservation(TGIFBudgetAccount* account, int64_t bytes) {
  if (account) account->Reserve(bytes);
  FAccount = account;
  FBytes = bytes;
}

TGIFBudgetReservation::TGIFBudgetReservation(TGIFBudgetReservation&& other) noexcept
    : FAccount(std::exchange(other.FAccount, nullptr)), FBytes(std::exchange(other.FBytes, 0)) {}

TGIFBudgetReservation& TGIFBudgetReservation::operator=(TGIFBudgetReservation&& other) noexcept {
  if (this != &other) {
    Release();
    FAccount = std::exchange(other.FAccount, nullptr);
    FBytes = std::exchange(other.FBytes, 0);
  }
  return *this;
}

void TGIFBudgetReservation::Release() {
  if (FAccount) FAccount->Return(FBytes);
  FAccount = nullptr;
  FBytes = 0;
}

namespace {

thread_local TGIFBudgetAccount* tThreadAccount = nullptr;

}  // namespace

TGIFBudgetScope::TGIFBudgetScope(TGIFBudgetAccount* account) : FOuter(tThreadAccount) { tThreadAccount = account; }

TGIFBudgetScope::~TGIFBudgetScope() { tThreadAccount = FOuter; }

TGIFBudgetAccount* ThreadBudgetAccount() { return tThreadAccount; }

}  // namespace corvane
