#pragma once
// Desktop services that record what the windows ask for and answer as a test says.

#include <QCoreApplication>
#include <functional>
#include <utility>
#include <vector>

#include "QtUiServices.h"

namespace corvane {

class TFakeUi : public TUiServices {
 public:
  // Answers.
  bool ConfirmAnswer = false;
  QStringList FilesToOpen;
  std::optional<QString> DirectoryToChoose;
  std::optional<TSaveDialogChoice> SaveChoice;
  // Shows Qt's own open and save dialogs, which the test drives, instead of answering.
  bool RealFileDialogs = false;
  // Runs each time the windows let pending messages run, after they have run: a test's
  // clicks "during" long work.
  std::function<void()> WhilePending;

  // Requests.
  std::vector<std::pair<QString, QString>> Confirmations;
  std::vector<std::pair<QString, QString>> Errors;
  std::vector<std::pair<QString, QString>> Messages;
  std::vector<TOpenDialogSetup> OpenDialogs;
  std::vector<TSaveDialogSetup> SaveDialogs;
  std::vector<TBrowseDialogSetup> Browses;
  std::vector<QUrl> Urls;
  int MessagePumps = 0;

  bool Confirm(const QString& caption, const QString& text) override {
    Confirmations.emplace_back(caption, text);
    return ConfirmAnswer;
  }
  void ShowError(const QString& caption, const QString& text) override { Errors.emplace_back(caption, text); }
  void ShowMessage(const QString& caption, const QString& text) override { Messages.emplace_back(caption, text); }
  std::optional<TSaveDialogChoice> SaveFile(const TSaveDialogSetup& setup) override {
    SaveDialogs.push_back(setup);
    return RealFileDialogs ? TQtUiServices().SaveFile(setup) : SaveChoice;
  }
  QStringList OpenFiles(const TOpenDialogSetup& setup) override {
    OpenDialogs.push_back(setup);
    return RealFileDialogs ? TQtUiServices().OpenFiles(setup) : FilesToOpen;
  }
  std::optional<QString> BrowseDirectory(const TBrowseDialogSetup& setup) override {
    Browses.push_back(setup);
    return DirectoryToChoose;
  }
  void OpenUrl(const QUrl& url) override { Urls.push_back(url); }
  void ProcessMessages() override {
    ++MessagePumps;
    QCoreApplication::processEvents();
    if (WhilePending) WhilePending();
  }

  void Reset() { *this = TFakeUi(); }
};

// The services of the test program's application object.
TFakeUi& FakeUi();

}  // namespace corvane
