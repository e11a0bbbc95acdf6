#include <gtest/gtest.h>

#include <QTimer>

#include "Application.h"
#include "FakeUi.h"
#include "FileFilter.h"
#include "platform/Exceptions.h"

namespace corvane {

TEST(ErrorReport, AppendsAPeriodAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorReportText("Cannot open file x"), "Cannot open file x.");
  EXPECT_EQ(ErrorReportText("Done."), "Done.");
  EXPECT_EQ(ErrorReportText("Really!?"), "Really!?.");  // '?' sorts after '.'
  EXPECT_EQ(ErrorReportText("Stop!"), "Stop!");        // '!' before it
  EXPECT_EQ(ErrorReportText("100 %"), "100 %");
  EXPECT_EQ(ErrorReportText("Unsupported GIF version"), "Unsupported GIF version.");
  EXPECT_EQ(ErrorReportText(""), "");
}

TEST(ErrorReport, ErrorsOfHandlersReachTheReportCaptionedWithTheTitle) {
  FakeUi().Reset();
  RunHandler([] { throw EFOpenError("/x/y.gif"); });
  RunHandler([] { throw EAbort(); });  // silent
  QTimer::singleShot(0, [] { throw std::runtime_error("From an event"); });
  QCoreApplication::processEvents();
  ASSERT_EQ(FakeUi().Errors.size(), 2u);
  EXPECT_EQ(FakeUi().Errors[0], (std::pair<QString, QString>("Corvane", "Cannot open file /x/y.gif.")));
  EXPECT_EQ(FakeUi().Errors[1].second, "From an event.");
}

TEST(FileFilter, TranslatesEachEntryIntoAQtNameFilter) {
  EXPECT_EQ(QtNameFilters("Pictures|*.bmp; *.rle;*.dib|JPEG|*.jpg|dangling"),
            (QStringList{"Pictures (*.bmp *.rle *.dib)", "JPEG (*.jpg)"}));
  QStringList all = QtNameFilters(AllGraphicsOpenFilter());
  ASSERT_EQ(all.size(), 18);
  EXPECT_TRUE(all[0].startsWith("All Graphics (*.bmp *.rle *.dib *.jpeg *.jpg *.jpe *.ico *.gif *.png "));
  EXPECT_EQ(all[0].count("*."), 38);
  EXPECT_EQ(all[13], "Truevision images (*.tga; *.vds; *.icb; *.vst; *.win) (*.tga *.vst *.icb *.vda *.win)");
}

}  // namespace corvane
