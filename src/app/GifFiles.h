#pragma once
// Which GIF files a set of dropped files and folders stands for.

#include <QStringList>

namespace corvane {

// In the given order: each file whose extension is ".gif" (in any case), and for each
// folder the GIF files the folder search finds below it (hidden ones left out), sorted by
// path. Anything else is left out.
QStringList CollectGifFiles(const QStringList& paths);

}  // namespace corvane
