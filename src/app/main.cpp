// corvane-gui: the desktop program.
//
//   corvane-gui [--tab=gif|jpg] [--open=PICTURE] [GIF files or folders...]
//
// The files, and the GIF files below the folders, are listed on the GIF tab as if they had
// been dropped onto the list; --open opens a picture on the JPG tab and starts there. With CORVANE_SCREENSHOT=file.png in the environment the
// program writes a picture of its window to that file once it shows, and quits.

#include <QScreen>
#include <QTimer>
#include <iostream>

#include "Application.h"
#include "Artwork.h"
#include "FlatTabControl.h"
#include "MainForm.h"
#include "QtUiServices.h"
#include "platform/FileUtils.h"

namespace {

void ScheduleScreenshot(corvane::TForm1& form, const QString& file) {
  QTimer::singleShot(500, &form, [&form, file] {
    bool saved = form.screen()->grabWindow(form.winId()).save(file, "PNG");
    if (!saved) std::cerr << "corvane-gui: cannot write " << file.toStdString() << "\n";
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

}  // namespace

int main(int argc, char** argv) {
  corvane::TQtUiServices ui;
  corvane::TCorvaneApplication app(argc, argv, ui);
  app.setWindowIcon(corvane::WindowIcon());
  corvane::TForm1 form(ui, corvane::AppDir());

  QStringList paths;
  QString picture;
  int tab = corvane::TForm1::kGifTab;
  for (const QString& argument : app.arguments().mid(1)) {
    if (argument == QLatin1String("--tab=jpg"))
      tab = corvane::TForm1::kJpgTab;
    else if (argument == QLatin1String("--tab=gif"))
      tab = corvane::TForm1::kGifTab;
    else if (argument.startsWith(QLatin1String("--open=")) && argument.size() > 7) {
      picture = argument.mid(7);
      tab = corvane::TForm1::kJpgTab;
    } else if (argument.startsWith(QLatin1String("--"))) {
      std::cerr << "Usage: corvane-gui [--tab=gif|jpg] [--open=PICTURE] [GIF files or folders...]\n";
      return 2;
    } else
      paths << argument;
  }
  form.AddGifPaths(paths);
  form.FlatTabControl1->SetActiveTab(tab);
  if (!picture.isEmpty()) form.OpenJpgPicture(picture);
  form.show();
  if (QString file = qEnvironmentVariable("CORVANE_SCREENSHOT"); !file.isEmpty()) ScheduleScreenshot(form, file);
  return app.exec();
}
