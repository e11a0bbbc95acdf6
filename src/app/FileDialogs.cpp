#include "FileDialogs.h"

#include <QFileInfo>

namespace corvane {

QStringList TFileDialogs::Open(TOpenDialogSetup setup) {
  setup.StartDirectory = FLastDirectory;
  QStringList files = FUi.OpenFiles(setup);
  if (!files.isEmpty()) RememberDirectory(files.front());
  return files;
}

std::optional<TSaveDialogChoice> TFileDialogs::Save(const QStringList& nameFilters, const QString& fileName) {
  std::optional<TSaveDialogChoice> choice = FUi.SaveFile({nameFilters, fileName, FLastDirectory});
  if (choice) RememberDirectory(choice->FileName);
  return choice;
}

void TFileDialogs::RememberDirectory(const QString& chosenFile) {
  FLastDirectory = QFileInfo(chosenFile).absolutePath();
}

}  // namespace corvane
