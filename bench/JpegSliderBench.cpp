// Ten quick steps of the JPG tab's compression slider on a 12-megapixel photo, one every
// 50 ms as a held arrow key repeats: how long after the last step the result of its
// setting shows (made, loaded back from the temporary file and drawn into a pane). Results
// made on a worker, which drops the settings passed over, against the same steps made one
// after another on the window's thread; cjpeg compressing the same pixels once, for scale.
// Also how long opening the photo as a JPG file keeps the window's thread busy, and how
// soon its first result shows.

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

#include "jpegopt/JpegWorkflow.h"
#include "platform/Canvas.h"
#include "platform/FileUtils.h"
#include "platform/Synchronize.h"
#include "support/PhotoPicture.h"

extern char** environ;

namespace corvane {
namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

constexpr int kSteps = 10;
constexpr auto kStepInterval = std::chrono::milliseconds(50);
constexpr int kPaneWidth = 262, kPaneHeight = 243;

double Seconds(TClock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// What the window does when a pane is given a picture.
void ShowInPane(const TPicture& picture) {
  if (!picture.Graphic()) return;
  TPicture copy;  // the pane holds its own copy, as the window's does
  copy.SetGraphic(picture.Graphic());
  TBitmap frame(kPaneWidth, kPaneHeight, TPixelFormat::pf24bit);
  frame.Canvas().StretchDraw(Bounds(0, 0, kPaneWidth, kPaneHeight), *copy.Graphic());
}

// Seconds from the last step until its result shows.
double LastStepToResult(const fs::path& dir, const fs::path& photo, bool background) {
  TClock::time_point shownAt;
  TJpegWorkflow* tab = nullptr;
  auto show = [&](int pane) {
    if (pane != 3) return;
    ShowInPane(tab->Image3());
    shownAt = TClock::now();
  };
  TJpegWorkflow workflow({[](const std::string& text) { throw std::runtime_error(text); },
                          [](const std::string& text) { throw std::runtime_error(text); }, {}, show},
                         dir);
  tab = &workflow;
  workflow.SetResultPaneSize(kPaneWidth, kPaneHeight);
  if (background) workflow.RecompressInBackground();
  workflow.Open(photo);
  workflow.WaitForResult();
  auto start = TClock::now();
  for (int step = 0; step < kSteps; ++step) {
    // The window's thread is free between steps only when the work runs elsewhere; else
    // the key presses wait in the queue for it.
    auto due = start + step * kStepInterval;
    while (TClock::now() < due) {
      if (background)
        CheckSynchronize(uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(due - TClock::now()).count()) + 1);
      else
        std::this_thread::sleep_until(due);
    }
    workflow.RxSlider1Change(41 + step);
  }
  workflow.WaitForResult();
  if (workflow.State().TrackBarPosition != 40 + kSteps) throw std::runtime_error("the last setting is not in force");
  return Seconds(shownAt - (start + (kSteps - 1) * kStepInterval));
}

struct TOpenTimes {
  double Busy;   // the window's thread at work: in Open and on what the workers hand over
  double Shown;  // until the first result shows
};

TOpenTimes OpenTimes(const fs::path& dir, const fs::path& photo) {
  TJpegWorkflow* tab = nullptr;
  TJpegWorkflow workflow({[](const std::string& text) { throw std::runtime_error(text); },
                          [](const std::string& text) { throw std::runtime_error(text); }, {},
                          [&](int pane) { ShowInPane(pane == 2 ? tab->Image2() : tab->Image3()); }},
                         dir);
  tab = &workflow;
  workflow.SetResultPaneSize(kPaneWidth, kPaneHeight);
  workflow.RecompressInBackground();
  auto start = TClock::now();
  workflow.Open(photo);
  TClock::duration busy = TClock::now() - start;
  while (workflow.Recompressing()) {
    auto before = TClock::now();
    if (CheckSynchronize())
      busy += TClock::now() - before;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return {Seconds(busy), Seconds(TClock::now() - start)};
}

double CjpegSeconds(const fs::path& ppm, const fs::path& out) {
  std::string command = "cjpeg -quality 60 -outfile " + out.string() + " " + ppm.string();
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  auto start = TClock::now();
  pid_t pid;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    throw std::runtime_error("cannot start cjpeg");
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("cjpeg failed");
  return Seconds(TClock::now() - start);
}

}  // namespace
}  // namespace corvane

int main() {
  using namespace corvane;
  RegisterJPEGFormat();
  RegisterFileFormat("bmp", "Bitmap", [] { return std::make_unique<TBitmap>(); });
  fs::path dir = test::ScratchDirectory("jpegsliderbench");
  test::PhotoBitmap photo(4000, 3000, 7);
  photo.SaveToFile(dir / "photo.bmp");
  WriteFileAtomically(dir / "photo.ppm", test::PpmBytes(photo));
  double cjpeg = CjpegSeconds(dir / "photo.ppm", dir / "cjpeg.jpg");
  double worker = LastStepToResult(dir, dir / "photo.bmp", true);
  double inline_ = LastStepToResult(dir, dir / "photo.bmp", false);
  TOpenTimes open = OpenTimes(dir, dir / "cjpeg.jpg");
  fs::remove_all(dir);
  std::printf("12-megapixel photo, %d steps %lld ms apart: last step to its result shown\n", kSteps,
              static_cast<long long>(kStepInterval.count()));
  std::printf("  on a worker, latest setting only  %6.3f s  (goal: 0.5 s)\n", worker);
  std::printf("  every step on the window's thread %6.3f s\n", inline_);
  std::printf("  cjpeg, one compression            %6.3f s\n", cjpeg);
  std::printf("opening the photo as a JPG file: window's thread busy %.3f s, first result shown after %.3f s\n",
              open.Busy, open.Shown);
  std::printf("speed worker / window's thread: %.1f; worker / one cjpeg run: %.2f\n", inline_ / worker, worker / cjpeg);
  return 0;
}
