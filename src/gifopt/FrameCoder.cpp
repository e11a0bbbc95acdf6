#include "FrameCoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "gif/GIFSubImage.h"
#include "gif/GIFTypes.h"
#include "gif/SmallestLzw.h"
#include "gifopt/MaskChoice.h"

namespace corvane {

namespace {

// A table entry no pixel shows.
constexpr TRGBA kNoColor = 0;

enum TVariant { vChosen, vFewestRuns, vAllTransparent, vAllRepeated };

}  // namespace

struct TFrameCoder::TTable {
  bool Local = false;
  std::vector<TRGBA> LocalIds;
  int Transparent = -1;  // an index no changed pixel holds; -1 when none is free
  int Padded = 0;        // global table: its entries in the file
};

int64_t TCodedFrame::ImageBytes() const {
  int64_t table = 0;
  if (!LocalIds.empty()) {
    const int entries = std::max(int(LocalIds.size()), TransparentIndex + 1);
    table = 3 * (int64_t(1) << DepthForCount(entries));
  }
  return TGIFSubImage::kDescriptorBytes + table + int64_t(Data.size());
}

const TRGBA* TScreenBase::Row(int y, int width, std::vector<TRGBA>& scratch) const {
  const TRGBA* row = &Screen[size_t(y) * size_t(width)];
  if (y < Cleared.Top || y >= Cleared.Bottom) return row;
  scratch.assign(row, row + width);
  std::fill(scratch.begin() + Cleared.Left, scratch.begin() + Cleared.Right, 0);
  return scratch.data();
}

TRect ChangedArea(const TScreenBase& base, const std::vector<TRGBA>& target, int width, bool& valid) {
  valid = true;
  const int height = width > 0 ? int(target.size() / size_t(width)) : 0;
  TRect area{width, height, 0, 0};
  std::vector<TRGBA> scratch;
  for (int y = 0; y < height; ++y) {
    const TRGBA* b = base.Row(y, width, scratch);
    const TRGBA* t = &target[size_t(y) * size_t(width)];
    if (std::memcmp(b, t, size_t(width) * sizeof(TRGBA)) == 0) continue;
    int x = 0;
    while (x < width && b[x] == t[x]) ++x;
    if (x == width) continue;
    int right = width;
    while (b[right - 1] == t[right - 1]) --right;
    for (int i = x; i < right; ++i)
      if (t[i] == 0 && b[i] != 0) valid = false;
    area.Left = std::min(area.Left, x);
    area.Right = std::max(area.Right, right);
    area.Top = std::min(area.Top, y);
    area.Bottom = y + 1;
  }
  return area.IsEmpty() ? TRect{} : area;
}

std::optional<TCodedFrame> TFrameCoder::Code(const TScreenBase& base, const std::vector<TRGBA>& target, TRect area,
                                             TFrameVariants variants) {
  FArea = area.IsEmpty() ? Bounds(0, 0, 1, 1) : area;
  const size_t count = size_t(FArea.Width()) * size_t(FArea.Height());
  FWanted.resize(count);
  FChanged.resize(count);
  FMustClear = false;
  bool repeats = false;
  size_t i = 0;
  for (int y = FArea.Top; y < FArea.Bottom; ++y) {
    const TRGBA* shown = base.Row(y, FWidth, FBaseRow);
    const TRGBA* row = &target[size_t(y) * size_t(FWidth)];
    for (int x = FArea.Left; x < FArea.Right; ++x, ++i) {
      const TRGBA wanted = row[x];
      FWanted[i] = wanted;
      FChanged[i] = shown[x] != wanted;
      if (!FChanged[i]) (wanted == 0 ? FMustClear : repeats) = true;
    }
  }
  TTable table;
  if (!ChooseTable(table)) return std::nullopt;
  // Without an index for transparency, only all repeated applies.
  const bool masks = repeats && table.Transparent >= 0;
  const TVariant likeliest = masks ? vChosen : vAllRepeated;
  std::optional<TCodedFrame> best;
  for (TVariant variant : {vAllRepeated, vChosen, vFewestRuns, vAllTransparent}) {
    const bool applies = variant == vAllRepeated || masks;
    const bool asked =
        variants == TFrameVariants::All || (variant == likeliest) == (variants == TFrameVariants::Likeliest);
    if (applies && asked) CodeVariant(table, variant, best);
  }
  for (TRGBA id : table.LocalIds) FLocalIndex[id] = -1;
  if (best) {
    best->Values = std::move(FBestValues);
    best->CodeSize = FBestCodeSize;
  }
  return best;
}

// The variants are compared by the default encoder's bytes, which also choose between rows in
// order and interlaced; the frame chosen is then coded as small as the library can.
void TFrameCoder::CodeSmallest(TCodedFrame& frame) {
  const int width = frame.Area.Width();
  const int height = frame.Area.Height();
  const uint8_t codeSize = uint8_t(frame.CodeSize);
  FCoded.Clear();
  FEncoder.CompressPixels(FCoded, codeSize, width, height, true, frame.Values.data(), 1 << codeSize);
  if (FCoded.Size() < int64_t(frame.Data.size())) {
    frame.Interlaced = true;
    frame.Data = FCoded.Bytes();
  }
  FCoded.Clear();
  CompressPixelsFlexible(FCoded, codeSize, width, height, frame.Interlaced, frame.Values.data());
  if (FCoded.Size() < int64_t(frame.Data.size())) frame.Data = FCoded.Bytes();
  frame.Values = {};
}

// The index for transparency: one no changed pixel holds, within the bits the changed pixels
// need where one is free there. Among those, the colour that most unchanged pixels show, so
// that such a pixel codes the same whether it is transparent or repeated.
int TFrameCoder::SpareIndex(const std::bitset<kMaxEntries>& used, int padded) const {
  int largest = -1;
  for (int index = padded - 1; index >= 0 && largest < 0; --index)
    if (used.test(size_t(index))) largest = index;
  const int within = std::min(padded, 1 << DepthForCount(largest + 1));
  std::array<int64_t, kMaxEntries> shown{};
  for (size_t i = 0; i < FWanted.size(); ++i)
    if (!FChanged[i] && FWanted[i] != 0)
      if (const int index = FGlobal.IndexOf[FWanted[i]]; index >= 0) ++shown[size_t(index)];
  int spare = -1;
  for (int index = 0; index < padded; ++index) {
    if (used.test(size_t(index))) continue;
    if (spare < 0 || (index < within && shown[size_t(index)] > shown[size_t(spare)])) spare = index;
  }
  return spare;
}

// The global table when it holds every changed colour and, where a pixel must stay
// transparent, has an index to spare; otherwise a local table of the changed colours, the most
// used first, with the index after them for transparency.
bool TFrameCoder::ChooseTable(TTable& table) {
  if (!FGlobal.Ids.empty()) {
    std::bitset<kMaxEntries> used;
    bool fits = true;
    for (size_t i = 0; i < FWanted.size() && fits; ++i) {
      if (!FChanged[i]) continue;
      const int index = FGlobal.IndexOf[FWanted[i]];
      fits = index >= 0;
      if (fits) used.set(size_t(index));
    }
    table.Padded = FGlobal.PaddedCount();
    if (fits) table.Transparent = SpareIndex(used, table.Padded);
    if (fits && (!FMustClear || table.Transparent >= 0)) return true;
  }
  std::vector<std::pair<int64_t, TRGBA>> counted;
  bool fits = true;
  for (size_t i = 0; i < FWanted.size() && fits; ++i) {
    if (!FChanged[i]) continue;
    int16_t& slot = FLocalIndex[FWanted[i]];
    if (slot < 0) {
      fits = counted.size() < size_t(kMaxEntries);
      slot = int16_t(counted.size());
      counted.emplace_back(0, FWanted[i]);
    }
    ++counted[size_t(slot)].first;
  }
  table.Local = true;
  table.LocalIds.clear();
  for (const auto& entry : counted) FLocalIndex[entry.second] = -1;
  if (!fits) return false;
  // A frame that changes nothing still gets a table: viewers refuse a frame without one.
  if (counted.empty()) counted.emplace_back(0, kNoColor);
  std::stable_sort(counted.begin(), counted.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& entry : counted) {
    FLocalIndex[entry.second] = int16_t(table.LocalIds.size());
    table.LocalIds.push_back(entry.second);
  }
  table.Transparent = counted.size() < size_t(kMaxEntries) ? int(counted.size()) : -1;
  table.Padded = 1 << DepthForCount(std::max(int(counted.size()) + (table.Transparent >= 0), 1));
  return !FMustClear || table.Transparent >= 0;
}

void TFrameCoder::CodeVariant(const TTable& table, int variant, std::optional<TCodedFrame>& best) {
  const int16_t* indexOf = table.Local ? FLocalIndex.data() : FGlobal.IndexOf.data();
  const int transparent = table.Transparent;
  const bool chooses = variant == vChosen || variant == vFewestRuns;
  const size_t count = FWanted.size();
  FValues.resize(count);
  FFree.assign(count, 0);
  int largest = 0;
  for (size_t i = 0; i < count; ++i) {
    const int own = FWanted[i] == 0 ? -1 : indexOf[FWanted[i]];
    int value = own;
    if (!FChanged[i] && (own < 0 || variant == vAllTransparent)) {
      if (transparent < 0) return;
      value = transparent;
    } else if (!FChanged[i] && chooses) {
      FFree[i] = 1;
      largest = std::max(largest, transparent);
    }
    FValues[i] = uint8_t(value);
    largest = std::max(largest, value);
  }
  if (variant == vChosen) ChooseMaskedValues(FValues, FFree, uint8_t(transparent), DepthForCount(largest + 1));
  if (variant == vFewestRuns) ChooseFewestRuns(FValues, FFree, uint8_t(transparent));
  bool usesTransparent = false;
  largest = 0;
  for (uint8_t value : FValues) {
    usesTransparent |= value == transparent;
    largest = std::max<int>(largest, value);
  }
  FCoded.Clear();
  FEncoder.CompressPixels(FCoded, uint8_t(DepthForCount(largest + 1)), FArea.Width(), FArea.Height(), false,
                          FValues.data(), table.Padded);
  TCodedFrame coded;
  coded.Area = FArea;
  coded.TransparentIndex = usesTransparent ? transparent : -1;
  coded.Data = FCoded.Bytes();
  if (table.Local) coded.LocalIds = table.LocalIds;
  if (best && coded.ImageBytes() >= best->ImageBytes()) return;
  best = std::move(coded);
  FBestValues.swap(FValues);
  FBestCodeSize = DepthForCount(largest + 1);
}

}  // namespace corvane
