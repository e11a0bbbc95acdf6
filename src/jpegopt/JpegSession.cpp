#include "JpegSession.h"

#include <algorithm>
#include <string>
#include <utility>

#include "JPEGException.h"

namespace corvane {

namespace {

// Warnings are silent: damaged but readable data is decoded as far as it goes.
void OutputMessage(j_common_ptr) {}
void EmitMessage(j_common_ptr, int) {}
void FormatMessage(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetErrorManager(j_common_ptr info) {
  info->err->num_warnings = 0;
  info->err->msg_code = 0;
}

constexpr size_t kOutputChunk = 64 * 1024;

}  // namespace

std::vector<JSAMPROW> RowPointers(TBitmap& bitmap) {
  std::vector<JSAMPROW> rows(size_t(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y) rows[size_t(y)] = bitmap.ScanLine(y);
  return rows;
}

std::vector<JSAMPROW> RowPointers(const TBitmap& bitmap) { return RowPointers(const_cast<TBitmap&>(bitmap)); }

TJpegSession::TJpegSession(TJpegProgressHandler onProgress) : FOnProgress(std::move(onProgress)) {
  jpeg_std_error(&FError.Public);
  FError.Public.error_exit = &ErrorExit;
  FError.Public.output_message = &OutputMessage;
  FError.Public.emit_message = &EmitMessage;
  FError.Public.format_message = &FormatMessage;
  FError.Public.reset_error_mgr = &ResetErrorManager;
  FProgress.progress_monitor = &ProgressHook;
}

void TJpegSession::Attach(j_common_ptr info) {
  info->client_data = this;
  info->progress = &FProgress;
  info->mem->max_memory_to_use = kJpegMemoryLimit;
}

bool TJpegSession::RunGuarded(void (*call)(void*), void* step) noexcept {
  if (setjmp(FError.Jump) != 0) return false;
  call(step);
  return true;
}

void TJpegSession::RaisePending() {
  if (FPending) std::rethrow_exception(std::exchange(FPending, nullptr));
  throw EJPEG::FromCode(FError.Public.msg_code);
}

void TJpegSession::JumpBack() noexcept { std::longjmp(FError.Jump, 1); }

TJpegSession& TJpegSession::SessionOf(j_common_ptr info) { return *static_cast<TJpegSession*>(info->client_data); }

void TJpegSession::ErrorExit(j_common_ptr info) {
  // client_data is set only after creation; a failed creation still has its error manager.
  auto* error = reinterpret_cast<TErrorJump*>(info->err);
  std::longjmp(error->Jump, 1);
}

void TJpegSession::ProgressHook(j_common_ptr info) {
  TJpegSession& session = SessionOf(info);
  session.Shielded([&] {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans)
      throw EJPEG("JPEG file has too many scans (more than " + std::to_string(kMaxJpegScans) + ")");
    if (session.FOnProgress) session.FOnProgress(info);
  });
}

TJpegCompressor::TJpegCompressor(TJpegProgressHandler onProgress, std::vector<uint8_t>& output)
    : TJpegSession(std::move(onProgress)), FOutput(output) {
  Info.err = ErrorManager();
  Run([this] { jpeg_create_compress(&Info); });
  Attach(reinterpret_cast<j_common_ptr>(&Info));
  FDestination.init_destination = &InitDestination;
  FDestination.empty_output_buffer = &EmptyOutputBuffer;
  FDestination.term_destination = &TermDestination;
  Info.dest = &FDestination;
}

TJpegCompressor::~TJpegCompressor() { jpeg_destroy_compress(&Info); }

TJpegCompressor& TJpegCompressor::CompressorOf(j_compress_ptr info) {
  return *static_cast<TJpegCompressor*>(static_cast<TJpegSession*>(info->client_data));
}

void TJpegCompressor::GrowOutput() {
  size_t used = FOutput.size();
  FOutput.resize(used + std::max(kOutputChunk, used));
  FDestination.next_output_byte = FOutput.data() + used;
  FDestination.free_in_buffer = FOutput.size() - used;
}

void TJpegCompressor::InitDestination(j_compress_ptr info) {
  TJpegCompressor& self = CompressorOf(info);
  self.Shielded([&] { self.GrowOutput(); });
}

boolean TJpegCompressor::EmptyOutputBuffer(j_compress_ptr info) {
  // The library calls this with the whole buffer full, whatever free_in_buffer says.
  TJpegCompressor& self = CompressorOf(info);
  self.Shielded([&] { self.GrowOutput(); });
  return TRUE;
}

void TJpegCompressor::TermDestination(j_compress_ptr info) {
  TJpegCompressor& self = CompressorOf(info);
  self.FOutput.resize(self.FOutput.size() - self.FDestination.free_in_buffer);
}

TJpegDecompressor::TJpegDecompressor(TJpegProgressHandler onProgress) : TJpegSession(std::move(onProgress)) {
  Info.err = ErrorManager();
  Run([this] { jpeg_create_decompress(&Info); });
  Attach(reinterpret_cast<j_common_ptr>(&Info));
}

void TJpegDecompressor::ReadHeader(std::span<const uint8_t> bytes) {
  Run([&] {
    jpeg_mem_src(&Info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&Info, TRUE);
  });
}

bool TJpegDecompressor::HasMultipleScans() {
  bool multiple = false;
  Run([&] { multiple = jpeg_has_multiple_scans(&Info); });
  return multiple;
}

bool TJpegDecompressor::InputComplete() {
  bool complete = false;
  Run([&] { complete = jpeg_input_complete(&Info); });
  return complete;
}

TJpegDecompressor::~TJpegDecompressor() { jpeg_destroy_decompress(&Info); }

}  // namespace corvane
