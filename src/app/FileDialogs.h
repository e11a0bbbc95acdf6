#pragma once
// TFileDialogs: the open and save dialogs of both tabs. Each dialog starts in the folder
// of the file last chosen in any of them.

#include <optional>

#include "UiServices.h"

namespace corvane {

class TFileDialogs {
 public:
  explicit TFileDialogs(TUiServices& ui) : FUi(ui) {}

  // The chosen files in the dialog's order, none on cancel; the setup's start directory
  // gives way to the last folder.
  QStringList Open(TOpenDialogSetup setup);
  // The name and filter chosen, nothing on cancel; fileName is the name the dialog starts with.
  std::optional<TSaveDialogChoice> Save(const QStringList& nameFilters, const QString& fileName);

 private:
  void RememberDirectory(const QString& chosenFile);

  TUiServices& FUi;
  QString FLastDirectory;
};

}  // namespace corvane
