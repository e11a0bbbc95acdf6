// A file that viewers show in a way the format leaves open, read and written again as a web
// browser reads it (scripts/viewer-oracle.py shows how that was found). The pictures of such
// files are cases of tests/data/gif/.

#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "support/GiflibReader.h"

namespace corvane::test {
namespace {

TEST(ViewerAgreement, IndicesBeyondATableWidenItToTheirDepthWithBlack) {
  const std::vector<uint32_t> rgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  TLoaded loaded = Load(TGifBuilder(4, 1).GlobalTable(1, rgbw).Image(0, 0, 4, 1, {0, 1, 5, 2}, 3).Trailer().Data());
  const TGIFColorMap& table = loaded.Image->Header().GlobalTable();
  ASSERT_EQ(table.EntryCount(), 8);
  EXPECT_EQ(table.ColorAt(5), kBlack);
  TGiflibImage peer = DecodeWithGiflib(Save(*loaded.Image));
  EXPECT_EQ(peer.GlobalTable.size(), 8u);
  EXPECT_EQ(peer.Frames.at(0).Pixels, (std::vector<uint8_t>{0, 1, 5, 2}));
}

}  // namespace
}  // namespace corvane::test
