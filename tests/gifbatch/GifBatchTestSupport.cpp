#include "GifBatchTestSupport.h"

#include <fstream>
#include <iterator>

#include "platform/Stream.h"

namespace corvane::test {

namespace fs = std::filesystem;

TBytes Encode(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return stream.TakeBytes();
}

TBytes Animation(int frames, const std::string& comment) {
  TGIFImage image;
  image.Header().GlobalTable().AppendColor(MakeColor(255, 0, 0));
  image.Header().GlobalTable().AppendColor(MakeColor(0, 0, 255));
  for (int f = 0; f < frames; ++f) {
    auto frame = std::make_unique<TGIFSubImage>(image);
    frame->PlaceFrame(0, 0, 8, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) frame->RowStart(y)[x] = uint8_t((f + (x > y)) % 2);
    auto control = std::make_unique<TGIFGraphicControlExtension>(*frame);
    control->SetDelayTime(10);
    frame->Extensions().AppendMember(std::move(control));
    image.AppendFrame(std::move(frame));
  }
  if (!comment.empty()) AddComment(image, comment);
  return Encode(image);
}

void AddComment(TGIFImage& image, const std::string& text) {
  TGIFSubImage& frame = image.Frame(0);
  auto extension = std::make_unique<TGIFCommentExtension>(frame);
  extension->FTextLines.push_back(text);
  frame.Extensions().AppendMember(std::move(extension));
}

void DropComments(TGIFImage& image, TReduceSteps) {
  for (int f = 0; f < image.FrameCount(); ++f) {
    TGIFExtensionList& extensions = image.Frame(f).Extensions();
    for (int e = extensions.MemberCount() - 1; e >= 0; --e)
      if (dynamic_cast<TGIFCommentExtension*>(&extensions.MemberAt(e))) extensions.DeleteMember(e);
  }
}

TBytes ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& file, const TBytes& bytes) {
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TGifBatchTest::TGifBatchTest() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  Dir = fs::temp_directory_path() / ("corvane-gifbatch-" + std::to_string(::getpid()) + "-" + info->name());
  fs::remove_all(Dir);
  fs::create_directories(Dir);
}

TGifBatchTest::~TGifBatchTest() {
  std::error_code ignored;
  fs::remove_all(Dir, ignored);
}

std::string TGifBatchTest::AddFile(const std::string& name, const TBytes& bytes) {
  fs::path file = Dir / name;
  fs::create_directories(file.parent_path());
  WriteBytes(file, bytes);
  Batch.List().Add(file.string());
  return file.string();
}

TGifRunSeams TGifBatchTest::Seams() {
  TGifRunSeams seams;
  seams.Reduce = [this](TGIFImage& image, TReduceSteps steps) {
    {
      std::lock_guard lock(Lock);
      Steps.push_back(steps);
    }
    if (Pass) Pass(image, steps);
  };
  seams.CheckEncoding = Check;
  seams.ProcessMessages = [this] {
    ++MessageRuns;
    if (Messages) Messages();
  };
  seams.FileEnded = [this](int index, const TGifFileResult& result) {
    Ended.push_back(index);
    Endings.push_back(result.Ending);
  };
  return seams;
}

}  // namespace corvane::test
