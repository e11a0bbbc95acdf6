#pragma once
// The desktop services the windows use: message boxes, the error report, file dialogs,
// the desktop's URL opener and the running of pending window messages. Tests replace
// them, so no test waits on a modal dialog.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace corvane {

struct TOpenDialogSetup {
  QStringList NameFilters;  // Qt name filters, the first one selected
  bool MultiSelect = false;
  QString StartDirectory;  // none: the working directory
};

struct TSaveDialogSetup {
  QStringList NameFilters;  // Qt name filters, the first one selected
  QString FileName;         // the name the dialog starts with
  QString StartDirectory;   // none: the working directory
};

struct TSaveDialogChoice {
  QString FileName;
  int FilterIndex = 0;  // of the filter chosen, counted from 1
};

struct TBrowseDialogSetup {
  QString Caption;
  QString Title;
  QString StartDirectory;
};

class TUiServices {
 public:
  virtual ~TUiServices() = default;

  // A modal question with a question icon and the buttons Yes and No; true for Yes.
  virtual bool Confirm(const QString& caption, const QString& text) = 0;
  // A modal box with an error icon.
  virtual void ShowError(const QString& caption, const QString& text) = 0;
  // A plain modal message box with an OK button.
  virtual void ShowMessage(const QString& caption, const QString& text) = 0;
  // The open dialog: the chosen files in the dialog's order, none on cancel.
  virtual QStringList OpenFiles(const TOpenDialogSetup& setup) = 0;
  // The save dialog, which asks nothing before replacing a file: the name typed or
  // chosen as it stands, and the filter then selected; nothing on cancel.
  virtual std::optional<TSaveDialogChoice> SaveFile(const TSaveDialogSetup& setup) = 0;
  // The directory-browse dialog: the chosen directory, nothing on cancel.
  virtual std::optional<QString> BrowseDirectory(const TBrowseDialogSetup& setup) = 0;
  // Opens a document, web link or mailto: link with the desktop's default handler;
  // failures show nothing.
  virtual void OpenUrl(const QUrl& url) = 0;
  // Lets the pending window messages run once, as work that runs long does between its
  // steps: clicks, repaints and the painters' synchronised calls.
  virtual void ProcessMessages() = 0;
};

}  // namespace corvane
