#pragma once
// TGifWorkingSet: the buffers and images one run (or one item test) reuses for every
// file, so that memory is allocated once rather than per file.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gif/GIFCodec.h"
#include "platform/Stream.h"

namespace corvane {

struct TGifWorkingSet {
  // With a run's memory budget: the images reserve their pixels through this account, and
  // so do the images the calling thread makes while the set lasts, such as the verifier's.
  // The set is used and destroyed on that thread.
  std::unique_ptr<TGIFBudgetAccount> Account;
  std::optional<TGIFBudgetScope> Scope;
  void ShareBudget(TGIFMemoryBudget& budget) {
    Account = std::make_unique<TGIFBudgetAccount>(budget);
    Scope.emplace(Account.get());
    ImageM.SetBudgetAccount(Account.get());
    ImageC.SetBudgetAccount(Account.get());
  }
  // A holds the file's bytes, then the first-pass result; B the main-pass result; D the
  // deep level's encoding.
  TMemoryStream BufferA;
  TMemoryStream BufferB;
  TMemoryStream BufferD;
  // M is parsed from the file and optimized by the main pass; C is its copy for the
  // first pass.
  TGIFImage ImageM;
  TGIFImage ImageC;
  // The file's bytes, kept past parsing only when the new encoding is to be checked
  // against them before the file is replaced.
  std::vector<uint8_t> Source;
};

}  // namespace corvane
