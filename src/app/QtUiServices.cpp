#include "QtUiServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

#include "FileFilter.h"

namespace corvane {

namespace {

// The descriptions carry their own pattern lists, so Qt's copy of them stays hidden.
// Answers the filters as the dialog was given them.
QStringList SetNameFilters(QFileDialog& dialog, const QStringList& filters) {
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QStringList kept;
  for (const QString& filter : filters) kept << KeepSpaceRuns(filter);
  dialog.setNameFilters(kept);
  return kept;
}

}  // namespace

bool TQtUiServices::Confirm(const QString& caption, const QString& text) {
  return QMessageBox::question(QApplication::activeWindow(), caption, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void TQtUiServices::ShowError(const QString& caption, const QString& text) {
  QMessageBox::critical(QApplication::activeWindow(), caption, text);
}

void TQtUiServices::ShowMessage(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

QStringList TQtUiServices::OpenFiles(const TOpenDialogSetup& setup) {
  QFileDialog dialog(QApplication::activeWindow(), QString(), setup.StartDirectory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(setup.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  SetNameFilters(dialog, setup.NameFilters);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

std::optional<TSaveDialogChoice> TQtUiServices::SaveFile(const TSaveDialogSetup& setup) {
  QFileDialog dialog(QApplication::activeWindow(), QString(), setup.StartDirectory);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  QStringList filters = SetNameFilters(dialog, setup.NameFilters);
  dialog.selectFile(setup.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return TSaveDialogChoice{dialog.selectedFiles().front(), ChosenFilterIndex(filters, dialog.selectedNameFilter())};
}

std::optional<QString> TQtUiServices::BrowseDirectory(const TBrowseDialogSetup& setup) {
  QFileDialog dialog(QApplication::activeWindow(), setup.Caption, setup.StartDirectory);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::DontUseNativeDialog);  // the title goes above the folder list
  dialog.setLabelText(QFileDialog::LookIn, setup.Title);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

void TQtUiServices::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void TQtUiServices::ProcessMessages() { QCoreApplication::processEvents(); }

}  // namespace corvane
