#pragma once
// The libjpeg compressor and decompressor objects, owned by RAII, and the guard through
// which every library call runs.
//
// libjpeg ends a fatal error by calling error_exit, which must not return. Here it
// longjmps back to RunGuarded. The frames such a jump crosses are the library's own and
// the step lambdas passed to Run, which only call the library and own no C++ objects, so
// no destructor is ever skipped; exceptions never unwind through the C library. A hook
// of ours that the library calls (progress, output buffer) catches what its C++ code
// throws, parks it and jumps the same way; Run raises it again on our side.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include <jpeglib.h>

#include "platform/Bitmap.h"

namespace corvane {

// Called from the library's progress hook; may throw (EAbort from a progress handler).
using TJpegProgressHandler = std::function<void(j_common_ptr info)>;

// Most memory libjpeg may use for one picture: its coefficient and colour-quantisation
// buffers. There is no backing store, so a picture that needs more is refused.
constexpr long kJpegMemoryLimit = 1L << 30;
// Most scans a progressive file may have; more only burns time on hostile files.
constexpr int kMaxJpegScans = 1000;

// The rows of a bitmap as libjpeg reads and writes them: one pointer per row, top first,
// so that one call can pass any number of rows.
std::vector<JSAMPROW> RowPointers(TBitmap& bitmap);
// For compressing, which only reads the rows the library's row type lets it write.
std::vector<JSAMPROW> RowPointers(const TBitmap& bitmap);

class TJpegSession {
 public:
  TJpegSession(const TJpegSession&) = delete;
  TJpegSession& operator=(const TJpegSession&) = delete;

  // Runs step, which calls the library only. A fatal library error raises EJPEG with
  // the library's message code; an exception parked by a hook is raised again.
  template <class Step>
  void Run(Step&& step) {
    if (!RunGuarded(&CallStep<std::remove_reference_t<Step>>, &step)) RaisePending();
  }

  // Runs code of ours inside a library callback: an exception it throws is parked and
  // the library run is left by a jump back to Run.
  template <class Code>
  void Shielded(Code&& code) noexcept {
    bool failed = false;
    try {
      code();
    } catch (...) {
      FPending = std::current_exception();
      failed = true;
    }
    if (failed) JumpBack();
  }

 protected:
  explicit TJpegSession(TJpegProgressHandler onProgress);
  ~TJpegSession() = default;
  // Connects a freshly created library object to the progress hook and the memory limit.
  void Attach(j_common_ptr info);
  jpeg_error_mgr* ErrorManager() { return &FError.Public; }

 private:
  template <class Step>
  static void CallStep(void* step) {
    (*static_cast<Step*>(step))();
  }
  bool RunGuarded(void (*call)(void*), void* step) noexcept;
  [[noreturn]] void RaisePending();
  [[noreturn]] void JumpBack() noexcept;

  static void ErrorExit(j_common_ptr info);
  static void ProgressHook(j_common_ptr info);
  static TJpegSession& SessionOf(j_common_ptr info);

  struct TErrorJump {
    jpeg_error_mgr Public;
    std::jmp_buf Jump;
  } FError{};
  jpeg_progress_mgr FProgress{};
  std::exception_ptr FPending;
  TJpegProgressHandler FOnProgress;
};

class TJpegCompressor : public TJpegSession {
 public:
  // The compressed file is appended to output.
  TJpegCompressor(TJpegProgressHandler onProgress, std::vector<uint8_t>& output);
  ~TJpegCompressor();

  jpeg_compress_struct Info{};

 private:
  static void InitDestination(j_compress_ptr info);
  static boolean EmptyOutputBuffer(j_compress_ptr info);
  static void TermDestination(j_compress_ptr info);
  static TJpegCompressor& CompressorOf(j_compress_ptr info);
  void GrowOutput();

  jpeg_destination_mgr FDestination{};
  std::vector<uint8_t>& FOutput;
};

class TJpegDecompressor : public TJpegSession {
 public:
  explicit TJpegDecompressor(TJpegProgressHandler onProgress);
  ~TJpegDecompressor();

  // Reads the header of the JPEG file in bytes, which must outlive the decompressor.
  // EJPEG for a file that is not a JPEG image.
  void ReadHeader(std::span<const uint8_t> bytes);
  bool HasMultipleScans();
  bool InputComplete();

  jpeg_decompress_struct Info{};
};

}  // namespace corvane
