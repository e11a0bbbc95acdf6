// Opening a 24-megapixel photo-like picture (6000 × 4000) of each main format as the JPG
// tab does — the reader, the drawing into a bitmap, the JPEG object's copy of it —
// against ImageMagick's convert decoding the same file (convert FILE null:). Each side
// runs in a process of its own; printed are the processor time (user and system, which the
// other work of a shared machine disturbs less than wall time) and the peak memory above what
// the process held before (for convert: above its peak on a 1 × 1 picture of the same
// format), in bytes per pixel, and the ratios. A plain program: the peer is a process.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imageimport/PictureFormats.h"
#include "jpegopt/JPEGImage.h"
#include "platform/Canvas.h"
#include "platform/FileUtils.h"
#include "platform/PictureRegistry.h"
#include "support/PhotoPicture.h"

extern char** environ;

namespace corvane {

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 6000, kHeight = 4000;
constexpr double kPixels = double(kWidth) * kHeight;
const char* const kFormats[] = {"png", "jpg", "bmp", "tif", "tga", "psd", "pcx"};

double CpuSeconds(const rusage& usage) {
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct TMeasure {
  double Seconds = 0;
  double PeakBytes = 0;
};

// The real convert: a stand-in of the same name may come first on the path.
std::string ConvertProgram() { return fs::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert"; }

int RunProgram(const std::vector<std::string>& args, rusage* usage = nullptr) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    rusage ignored{};
    wait4(pid, &status, 0, usage ? usage : &ignored);
  }
  posix_spawn_file_actions_destroy(&actions);
  return status;
}

long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  return 0;
}

// Opens the picture in a child process, which reports its time and its peak resident
// memory above what it held when it began.
TMeasure OpenWithOurs(const fs::path& file) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  pid_t pid = fork();
  if (pid == 0) {
    close(channel[0]);
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the present size
    long before = StatusKilobytes("VmRSS:");
    rusage start{}, end{};
    getrusage(RUSAGE_SELF, &start);
    TPicture picture;
    picture.LoadFromFile(file);
    TBitmap bitmap(picture.Width(), picture.Height(), TPixelFormat::pf24bit);
    bitmap.Canvas().Draw(0, 0, *picture.Graphic());
    TJPEGImage source;
    source.CopyFrom(bitmap);
    getrusage(RUSAGE_SELF, &end);
    TMeasure measure{CpuSeconds(end) - CpuSeconds(start), double(StatusKilobytes("VmHWM:") - before) * 1024};
    (void)!write(channel[1], &measure, sizeof measure);
    _exit(0);
  }
  close(channel[1]);
  TMeasure measure;
  if (read(channel[0], &measure, sizeof measure) != sizeof measure) measure = {};
  close(channel[0]);
  waitpid(pid, nullptr, 0);
  return measure;
}

TMeasure OpenWithConvert(const fs::path& file, const fs::path& tiny) {
  rusage base{}, usage{};
  RunProgram({ConvertProgram(), tiny.string(), "null:"}, &base);
  RunProgram({ConvertProgram(), file.string(), "null:"}, &usage);
  return {CpuSeconds(usage), double(usage.ru_maxrss - base.ru_maxrss) * 1024};
}

}  // namespace

}  // namespace corvane

int main() {
  using namespace corvane;
  RegisterAllPictureFormats();
  fs::path dir = test::ScratchDirectory("importbench");
  fs::path ppm = dir / "photo.ppm", tinyPpm = dir / "tiny.ppm";
  WriteFileAtomically(ppm, test::PpmBytes(test::PhotoBitmap(kWidth, kHeight, 5)));
  WriteFileAtomically(tinyPpm, test::PpmBytes(test::PhotoBitmap(1, 1, 5)));
  std::printf("opening a %d x %d picture (%.0f megapixels): ours against %s\n", kWidth, kHeight, kPixels / 1e6,
              ConvertProgram().c_str());
  std::printf("%-6s %10s %13s %8s %14s %14s %8s\n", "format", "ours cpu s", "convert cpu s", "speed", "ours B/px",
              "convert B/px", "memory");
  for (const char* format : kFormats) {
    fs::path file = dir / (std::string("photo.") + format), tiny = dir / (std::string("tiny.") + format);
    RunProgram({ConvertProgram(), ppm.string(), "-quality", "90", file.string()});
    RunProgram({ConvertProgram(), tinyPpm.string(), tiny.string()});
    TMeasure ours = OpenWithOurs(file), theirs = OpenWithConvert(file, tiny);
    std::printf("%-6s %10.2f %13.2f %8.2f %14.1f %14.1f %8.2f\n", format, ours.Seconds, theirs.Seconds,
                theirs.Seconds / ours.Seconds, ours.PeakBytes / kPixels, theirs.PeakBytes / kPixels,
                theirs.PeakBytes / ours.PeakBytes);
    fs::remove(file);
  }
  std::printf("speed and memory: convert / ours (above 1: ours is faster or smaller)\n");
  fs::remove_all(dir);
  return 0;
}
