#pragma once
// What a run over GIF files is asked to do, and the hooks through which it reaches the
// optimizer, the window (or the command line) and the disk.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "gif/GIFCodec.h"
#include "gifopt/ReduceSteps.h"

namespace corvane {

struct TGifFileResult;

enum class TGifMode : uint8_t { Test, Optimize };

// Enough for two copies of the largest image the reader takes.
inline constexpr int64_t kDefaultMemoryBudget = int64_t(4) << 30;

// The tab's options: the two-pass box, the deep level and the backup controls.
struct TGifOptions {
  bool TwoPass = false;
  // Also makes a new encoding from the pictures the animation shows, kept when smaller.
  bool Deep = false;
  // Optimize mode only: copy each file, as read, into the backup directory first.
  bool Backup = false;
  std::string BackupDirectory;
  // The command line's ways. Backups keep the listed path's folders below the directory.
  bool BackupKeepsFolders = false;
  // A replaced file keeps its modification time.
  bool PreserveTime = false;
  // A file whose reading, backup, optimization or replacement raises fails with the error
  // in its row and the run goes on; otherwise the error ends the run.
  bool ErrorsInRows = false;
  // Blocks the clean-up and the deep level keep: rsKeepComments, rsKeepAppBlocks.
  TReduceSteps KeptBlocks = 0;
  // Bytes of frame pixels the files under work may hold at once, all workers together.
  int64_t MemoryBudget = kDefaultMemoryBudget;
};

// Answers how the new encoding of a file looks different from the file, or nothing when
// both show the same animation.
using TGifEncodingCheck =
    std::function<std::optional<std::string>(std::span<const uint8_t> original, std::span<const uint8_t> encoding)>;

struct TGifRunSeams {
  // Shrinks the image in place with the given steps.
  std::function<void(TGIFImage& image, TReduceSteps steps)> Reduce;
  // Optimize mode: consulted before a file is replaced; a file whose encoding would look
  // different keeps its bytes. None: files are replaced unchecked.
  TGifEncodingCheck CheckEncoding;
  // The item's texts changed: repaint its row.
  std::function<void(int index)> ItemChanged;
  // Lets pending window messages run once; this is where an abort request is seen.
  std::function<void()> ProcessMessages;
  // A file of a list run ended (complete, failed or aborted), in list order.
  std::function<void(int index, const TGifFileResult& result)> FileEnded;
  // The Abort button's state, the cursor or the total label changed.
  std::function<void()> ViewChanged;
  // Optimize mode, right before a file is checked to be still the one read and replaced.
  std::function<void(const std::string& path)> BeforeReplace;
};

}  // namespace corvane
