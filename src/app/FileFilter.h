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

}  // namespace corvane
