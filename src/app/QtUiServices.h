#pragma once
// The desktop services of the running program: Qt's message boxes and dialogs, and
// QDesktopServices for links.

#include "UiServices.h"

namespace corvane {

class TQtUiServices : public TUiServices {
 public:
  bool Confirm(const QString& caption, const QString& text) override;
  void ShowError(const QString& caption, const QString& text) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  QStringList OpenFiles(const TOpenDialogSetup& setup) override;
  std::optional<TSaveDialogChoice> SaveFile(const TSaveDialogSetup& setup) override;
  std::optional<QString> BrowseDirectory(const TBrowseDialogSetup& setup) override;
  void OpenUrl(const QUrl& url) override;
  void ProcessMessages() override;
};

}  // namespace corvane
