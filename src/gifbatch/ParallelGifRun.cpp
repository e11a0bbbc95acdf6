#include "ParallelGifRun.h"

#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileUtils.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

enum class TItemState : uint8_t { Pending, Working, Done, Escaped };

// Names that stand for one file: its device and inode when it exists, else its
// absolute, normalised path.
std::string FileIdentity(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  return "path:" + (error ? fs::path(path) : absolute).lexically_normal().string();
}

class TScheduler {
 public:
  explicit TScheduler(const TParallelGifRun& run)
      : FRun(run), FStates(size_t(run.List.Count())), FBudget(run.Options.MemoryBudget) {
    FResults.resize(FStates.size());
    FErrors.resize(FStates.size());
    FindConflicts();
  }

  void Run();

 private:
  void FindConflicts();
  bool Stopping() const { return FStop || FRun.AbortRequested.load(); }
  // Under the lock: the first pending item whose conflicting items have all ended, or -1.
  int NextReady() const;
  void Work();
  void Process(int index, TGifWorkingSet& work);
  void End(int index, TItemState state);
  // An abort request comes without a notification (from a signal handler, say), so
  // waits look at the flag now and then.
  template <typename Predicate>
  void WaitFor(std::unique_lock<std::mutex>& lock, Predicate ready) {
    while (!FChanged.wait_for(lock, std::chrono::milliseconds(50), ready)) {
    }
  }
  void StopWorkers() {
    {
      std::lock_guard lock(FMutex);
      FStop = true;
    }
    FChanged.notify_all();
  }

  const TParallelGifRun& FRun;
  std::vector<TItemState> FStates;
  std::vector<TGifFileResult> FResults;
  std::vector<std::exception_ptr> FErrors;
  // For each item, the latest earlier items it conflicts with.
  std::vector<std::vector<int>> FConflicts;
  size_t FFirstPending = 0;
  bool FStop = false;
  std::mutex FMutex;
  std::condition_variable FChanged;
  // The workers' frames share it.
  TGIFMemoryBudget FBudget;
};

void TScheduler::FindConflicts() {
  bool backups = FRun.Mode == TGifMode::Optimize && FRun.Options.Backup;
  std::map<std::string, int> lastWithKey;
  FConflicts.resize(FStates.size());
  for (int i = 0; i < FRun.List.Count(); ++i) {
    const std::string& path = FRun.List.Item(i).Caption;
    std::vector<std::string> keys{"file " + FileIdentity(path)};
    if (backups) keys.push_back("backup " + FileNamePart(path));
    for (const std::string& key : keys) {
      auto [it, fresh] = lastWithKey.try_emplace(key, i);
      if (!fresh) FConflicts[size_t(i)].push_back(std::exchange(it->second, i));
    }
  }
}

int TScheduler::NextReady() const {
  for (size_t i = FFirstPending; i < FStates.size(); ++i) {
    if (FStates[i] != TItemState::Pending) continue;
    bool ready = true;
    for (int earlier : FConflicts[i]) ready = ready && FStates[size_t(earlier)] >= TItemState::Done;
    if (ready) return int(i);
  }
  return -1;
}

void TScheduler::End(int index, TItemState state) {
  std::lock_guard lock(FMutex);
  FStates[size_t(index)] = state;
  if (state == TItemState::Escaped || FResults[size_t(index)].Ending == TGifFileEnding::Aborted) FStop = true;
  FChanged.notify_all();
}

void TScheduler::Process(int index, TGifWorkingSet& work) {
  try {
    TGifListItem& item = FRun.List.Item(index);
    TGifFileResult result = ProcessGifFile(item, index, FRun.Mode, FRun.Options, work, FRun.AbortRequested, FRun.WorkerSeams);
    if (result.Ending == TGifFileEnding::Complete && FRun.Finish) FRun.Finish(index, result, work);
    result.Chosen = nullptr;
    FResults[size_t(index)] = result;
    End(index, TItemState::Done);
  } catch (...) {
    FErrors[size_t(index)] = std::current_exception();
    End(index, TItemState::Escaped);
  }
}

void TScheduler::Work() {
  auto work = std::make_unique<TGifWorkingSet>();
  work->ShareBudget(FBudget);
  for (;;) {
    int index;
    {
      std::unique_lock lock(FMutex);
      WaitFor(lock, [&] { return Stopping() || FFirstPending >= FStates.size() || NextReady() >= 0; });
      if (Stopping() || FFirstPending >= FStates.size()) return;
      index = NextReady();
      FStates[size_t(index)] = TItemState::Working;
      while (FFirstPending < FStates.size() && FStates[FFirstPending] != TItemState::Pending) ++FFirstPending;
    }
    Process(index, *work);
  }
}

// Workers are told to stop before they are joined, also when a report raises.
class TStopOnExit {
 public:
  explicit TStopOnExit(std::function<void()> stop) : FStop(std::move(stop)) {}
  ~TStopOnExit() { FStop(); }
  TStopOnExit(const TStopOnExit&) = delete;
  TStopOnExit& operator=(const TStopOnExit&) = delete;

 private:
  std::function<void()> FStop;
};

void TScheduler::Run() {
  std::vector<std::jthread> workers;
  TStopOnExit stop([this] { StopWorkers(); });
  int count = std::max(1, std::min<int>(FRun.Jobs, int(FStates.size())));
  for (int w = 0; w < count; ++w) workers.emplace_back([this] { Work(); });
  std::exception_ptr firstError;
  for (size_t i = 0; i < FStates.size(); ++i) {
    TItemState state;
    {
      std::unique_lock lock(FMutex);
      WaitFor(lock, [&] { return FStates[i] >= TItemState::Done || (FStates[i] == TItemState::Pending && Stopping()); });
      state = FStates[i];
    }
    if (state == TItemState::Done) FRun.Report(int(i), FResults[i]);
    if (state == TItemState::Escaped && !firstError) firstError = FErrors[i];
  }
  StopWorkers();
  workers.clear();
  if (firstError) std::rethrow_exception(firstError);
}

}  // namespace

void RunGifListInParallel(const TParallelGifRun& run) { TScheduler(run).Run(); }

}  // namespace corvane
