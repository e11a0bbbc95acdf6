#pragma once
// A memory budget for frame pixels and screen-sized pictures that several workers share. Each
// worker reserves through its own account. A reservation that does not fit waits while another
// worker, not waiting itself, holds memory it will give back; one that cannot fit even alone is
// refused. A thread may name its account for the images it makes (TGIFBudgetScope).

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
  // The same refusal, without reserving, when the bytes could not fit even alone.
  void CheckRoom(int64_t bytes) const;
  void Return(int64_t bytes);
  int64_t Held() const { return FHeld; }

 private:
  [[noreturn]] void Refuse(int64_t bytes) const;

  TGIFMemoryBudget& FBudget;
  int64_t FHeld = 0;
};

// Bytes reserved through an account (none: nothing is counted) until it is destroyed.
class TGIFBudgetReservation {
 public:
  TGIFBudgetReservation() = default;
  TGIFBudgetReservation(TGIFBudgetAccount* account, int64_t bytes);
  ~TGIFBudgetReservation() { Release(); }
  TGIFBudgetReservation(TGIFBudgetReservation&& other) noexcept;
  TGIFBudgetReservation& operator=(TGIFBudgetReservation&& other) noexcept;

  void Release();

 private:
  TGIFBudgetAccount* FAccount = nullptr;
  int64_t FBytes = 0;
};

// The account that images made on this thread reserve through, while the scope lasts.
class TGIFBudgetScope {
 public:
  explicit TGIFBudgetScope(TGIFBudgetAccount* account);
  ~TGIFBudgetScope();
  TGIFBudgetScope(const TGIFBudgetScope&) = delete;
  TGIFBudgetScope& operator=(const TGIFBudgetScope&) = delete;

 private:
  TGIFBudgetAccount* FOuter;
};

// The account of the innermost scope on this thread; none outside every scope.
TGIFBudgetAccount* ThreadBudgetAccount();

// A budget and an account of it for a command that works on one file at a time, the account
// named for the images made on the calling thread.
struct TGIFRunBudget {
  explicit TGIFRunBudget(int64_t limit) : Budget(limit) {}
  TGIFMemoryBudget Budget;
  TGIFBudgetAccount Account{Budget};
  TGIFBudgetScope Scope{&Account};
};

}  // namespace corvane
