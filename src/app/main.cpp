// corvane-gui: the desktop program.
//
//   corvane-gui [--tab=gif|jpg] [--open=PICTURE] [--test-all | --optimize] [--select=ROW]
//               [GIF files or folders...]
//   corvane-gui --version
//
// The files, and the GIF files below the folders, are listed on the GIF tab as if they had
// been dropped onto the list; --open opens a picture on the JPG tab and starts there.
// Once the window shows, --test-all clicks "Test All", --optimize runs "Optimize" without
// asking (it rewrites the listed files), and --select selects the list's row ROW (counted
// from 1), which tests it. With CORVANE_SCREENSHOT=file.png in the environment the program
// writes a picture of its window to that file once it shows and no run is under way, and
// quits.

#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <cstring>
#include <iostream>
#include <optional>

#include "Application.h"
#include "Artwork.h"
#include "FlatTabControl.h"
#include "GifListView.h"
#include "GifTab.h"
#include "JpgTab.h"
#include "MainForm.h"
#include "QtUiServices.h"
#include "platform/AllocatorTuning.h"
#include "platform/FileUtils.h"

namespace {

void ScheduleScreenshot(corvane::TForm1& form, const QString& file) {
  QTimer::singleShot(500, &form, [&form, file] {
    if (form.GifTab->GifWorkUnderWay() || form.JpgTab->JpgWorkUnderWay()) return ScheduleScreenshot(form, file);
    bool saved = form.screen()->grabWindow(form.winId()).save(file, "PNG");
    if (!saved) std::cerr << "corvane-gui: cannot write " << file.toStdString() << "\n";
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

// What the command line asks the window to do once it shows.
void ScheduleClicks(corvane::TForm1& form, bool testAll, bool optimize, int selectRow) {
  QTimer::singleShot(0, &form, [&form, testAll, optimize, selectRow] {
    if (testAll) form.FlatSpeedButton2->click();
    if (optimize) form.GifTab->ProcessGifList(true);
    if (QTreeWidgetItem* row = form.GifTab->ListView1->topLevelItem(selectRow - 1)) row->setSelected(true);
  });
}

constexpr const char* kUsage =
    "Usage: corvane-gui [--tab=gif|jpg] [--open=PICTURE] [--test-all | --optimize] [--select=ROW]\n"
    "                   [GIF files or folders...]\n"
    "       corvane-gui --version\n";

struct TCommandLine {
  QStringList Paths;
  QString Picture;
  int Tab = corvane::TForm1::kGifTab;
  bool TestAll = false;
  bool Optimize = false;
  int SelectRow = 0;
};

// Nothing for arguments the program does not know.
std::optional<TCommandLine> ParseCommandLine(const QStringList& arguments) {
  TCommandLine line;
  for (const QString& argument : arguments) {
    if (argument == QLatin1String("--tab=jpg")) {
      line.Tab = corvane::TForm1::kJpgTab;
    } else if (argument == QLatin1String("--tab=gif")) {
      line.Tab = corvane::TForm1::kGifTab;
    } else if (argument.startsWith(QLatin1String("--open=")) && argument.size() > 7) {
      line.Picture = argument.mid(7);
      line.Tab = corvane::TForm1::kJpgTab;
    } else if (argument == QLatin1String("--test-all")) {
      line.TestAll = true;
    } else if (argument == QLatin1String("--optimize")) {
      line.Optimize = true;
    } else if (argument.startsWith(QLatin1String("--select="))) {
      bool number = false;
      line.SelectRow = argument.mid(9).toInt(&number);
      if (!number || line.SelectRow < 1) return std::nullopt;
    } else if (argument.startsWith(QLatin1String("--"))) {
      return std::nullopt;
    } else {
      line.Paths << argument;
    }
  }
  if (line.TestAll && line.Optimize) return std::nullopt;
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the application object exists, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "corvane-gui " CORVANE_VERSION "\n";
    return 0;
  }
  corvane::KeepLargeBlocksForReuse();
  corvane::TQtUiServices ui;
  corvane::TCorvaneApplication app(argc, argv, ui);
  app.setWindowIcon(corvane::WindowIcon());
  std::optional<TCommandLine> line = ParseCommandLine(app.arguments().mid(1));
  if (!line) {
    std::cerr << kUsage;
    return 2;
  }
  corvane::TForm1 form(ui, corvane::AppDir());
  form.GifTab->AddGifPaths(line->Paths);
  form.FlatTabControl1->SetActiveTab(line->Tab);
  if (!line->Picture.isEmpty()) form.JpgTab->OpenJpgPicture(line->Picture);
  form.show();
  ScheduleClicks(form, line->TestAll, line->Optimize, line->SelectRow);
  if (QString file = qEnvironmentVariable("CORVANE_SCREENSHOT"); !file.isEmpty()) ScheduleScreenshot(form, file);
  return app.exec();
}
