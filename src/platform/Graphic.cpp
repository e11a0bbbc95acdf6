#include "Graphic.h"

#include "FileUtils.h"
#include "Stream.h"

namespace corvane {

std::unique_ptr<TGraphic> TGraphic::Clone() const {
  std::unique_ptr<TGraphic> copy = NewInstance();
  copy->CopyFrom(*this);
  return copy;
}

void TGraphic::LoadFromFile(const std::filesystem::path& fileName) {
  TMemoryStream stream(ReadWholeFile(fileName));
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::filesystem::path& fileName) {
  TMemoryStream stream;
  SaveToStream(stream);
  WriteFileAtomically(fileName, stream.Bytes());
}

bool TGraphic::Equals(TGraphic& other) {
  if (&other == this) return true;
  if (other.ClassName() != ClassName()) return false;
  TMemoryStream mine, theirs;
  SaveToStream(mine);
  other.SaveToStream(theirs);
  return mine.Bytes() == theirs.Bytes();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(*this);
}

void TGraphic::Progress(TPersistent* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                        const TRect& rect, const std::string& message) {
  if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, rect, message);
}

}  // namespace corvane
