// Progress reports of a TJPEGImage while libjpeg codes it, and its cancelling.

#include "JPEGImage.h"
#include "JpegSession.h"

namespace corvane {

void TJPEGImage::CheckCancelled() const {
  if (Cancelled && Cancelled()) throw EAbort();
}

// Cancelling is asked at every call; only the reports wait for their time.
void TJPEGImage::ReportProgress(TProgressState& state, j_common_ptr info) {
  CheckCancelled();
  using namespace std::chrono;
  auto now = steady_clock::now();
  if (state.Started && now - state.LastReport < milliseconds(500)) return;
  state.LastReport = now;
  if (!state.Started) {
    state.Started = true;
    return;
  }
  const jpeg_progress_mgr& p = *info->progress;
  if (p.pass_limit <= 0 || p.total_passes <= 0) return;
  int percent = int((double(p.pass_counter) / double(p.pass_limit) + p.completed_passes) * 100 / p.total_passes);
  if (percent == state.LastPercent) return;
  state.LastPercent = percent;
  TRect rows{};
  if (info->is_decompressor) {
    auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
    int row = int(decompressor->output_scanline), width = int(decompressor->output_width);
    // A row above the last one means a new pass began: everything below the last row changed.
    rows = row < state.LastRow ? TRect{0, state.LastRow, width, int(decompressor->output_height)}
                               : TRect{0, state.LastRow, width, row};
    state.LastRow = row;
  }
  Progress(this, TProgressStage::psRunning, uint8_t(std::clamp(percent, 0, 100)), rows.Height() > 3, rows, "");
}

}  // namespace corvane
