// The GUI tests run in one application object whose desktop services are a TFakeUi, on
// Qt's offscreen platform unless another is asked for.

#include <gtest/gtest.h>

#include "Application.h"
#include "FakeUi.h"

namespace corvane {

TFakeUi& FakeUi() {
  static TFakeUi ui;
  return ui;
}

}  // namespace corvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  corvane::TCorvaneApplication app(argc, argv, corvane::FakeUi());
  return RUN_ALL_TESTS();
}
