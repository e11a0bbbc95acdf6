#pragma once
// A shown main window over a temporary program directory, with fresh fake services.

#include <gtest/gtest.h>

#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "FakeUi.h"
#include "FlatTabControl.h"
#include "GifTab.h"
#include "JpgTab.h"
#include "MainForm.h"

namespace corvane {

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    FakeUi().Reset();
    Form = std::make_unique<TForm1>(FakeUi(), AppDir.path().toStdString());
    Gif = Form->GifTab;
    Jpg = Form->JpgTab;
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  }

  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  void ChangeTab(int tab) {
    QTabBar* tabs = Form->FlatTabControl1->TabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    ASSERT_EQ(Form->ActiveTab(), tab);
  }

  QTemporaryDir AppDir;
  std::unique_ptr<TForm1> Form;
  TGifTab* Gif = nullptr;
  TJpgTab* Jpg = nullptr;
};

}  // namespace corvane
