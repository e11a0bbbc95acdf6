#pragma once
// Open-dialog filters in the form "description|pattern|description|pattern|…" (patterns
// separated by ";"), and their translation into Qt's name-filter list.

#include <QString>
#include <QStringList>

namespace corvane {

inline const QString kGifOpenFilter = QStringLiteral("CompuServe GIF Image (*.gif)|*.gif");

// The JPG tab's save dialog: filter index 1 is ".jpg", 2 ".jpeg".
inline const QString kJpegSaveFilter =
    QStringLiteral("JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg");

// The JPG tab's "All Graphics" filter with one entry per picture family.
QString AllGraphicsOpenFilter();

// One Qt name filter per entry: the description as it stands followed by the patterns in
// parentheses, separated by spaces. A dangling description without a pattern is dropped.
QStringList QtNameFilters(const QString& filter);

// The number, counted from 1, of the filter that a file dialog reports as chosen, or 0.
// A dialog that hides the patterns reports the description alone, and Qt's dialogs
// simplify the white space of every filter.
int ChosenFilterIndex(const QStringList& filters, const QString& chosen);

// Qt's dialogs collapse runs of spaces in a filter; a zero-width space after each space
// of a run but the last keeps the run as wide as it was written.
QString KeepSpaceRuns(const QString& filter);

}  // namespace corvane
