#pragma once
// A memory budget for frame pixels that several workers share. Each worker reserves through
// its own account. A reservation that does not fit waits while another worker, not waiting
// itself, holds memory it will give back; one that cannot fit even alone is refused.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace corvane {

class TGIFMemoryBudget {
 public:
  explicit TGIFMemoryBudget(int64_t limit) : FLimit(limit) {}
  int64_t Limit() const { return FLimit; }
  int64_t Used() const;

 private:
  friend class TGIFBudgetAccount;
  mutable std::mutex FLock;
  std::condition_variable FChanged;
  const int64_t FLimit;
  int64_t FUsed = 0;
  // Accounts that hold memory, and how many of them wait for more.
  int FHolders = 0;
  int FWaitingHolders = 0;
};

class TGIFBudgetAccount {
 public:
  explicit TGIFBudgetAccount(TGIFMemoryBudget& budget) : FBudget(budget) {}
  ~TGIFBudgetAccount() { Return(FHeld); }
  TGIFBudgetAccount(const TGIFBudgetAccount&) = delete;
  TGIFBudgetAccount& operator=(const TGIFBudgetAccount&) = delete;

  // GIFException naming the budget when the bytes cannot fit.
  void Reserve(int64_t bytes);
  void Return(int64_t bytes);
  int64_t Held() const { return FHeld; }

 private:
  [[noreturn]] void Refuse(int64_t bytes) const;

  TGIFMemoryBudget& FBudget;
  int64_t FHeld = 0;
};

}  // namespace corvane
