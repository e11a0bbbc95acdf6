#include "GifRunOutcome.h"

#include <QApplication>
#include <QStyle>

#include "jpegopt/SizeText.h"

namespace corvane {

namespace {

QString Bytes(int64_t count) { return QString::fromStdString(GroupDigits(count)) + QStringLiteral(" bytes"); }

// The last text appended to the item: the refusal or the error message.
QString Reason(const TGifListItem& item) {
  return item.SubItems.empty() ? QString() : QString::fromStdString(item.SubItems.back());
}

}  // namespace

TGifOutcome OutcomeOf(bool optimize, const TGifFileResult& result) {
  switch (result.Ending) {
    case TGifFileEnding::Failed:
      return TGifOutcome::Failed;
    case TGifFileEnding::Aborted:
      return TGifOutcome::Aborted;
    case TGifFileEnding::Complete:
      break;
  }
  if (!result.Smaller()) return TGifOutcome::NoGain;
  if (!optimize) return TGifOutcome::CanShrink;
  return result.Rewritten ? TGifOutcome::Replaced : TGifOutcome::NotReplaced;
}

QString OutcomeText(TGifOutcome outcome, const TGifFileResult& result, const TGifListItem& item) {
  int64_t saved = result.SourceSize - result.OptimizedSize;
  switch (outcome) {
    case TGifOutcome::CanShrink:
      return QStringLiteral("Can be made %1 smaller").arg(Bytes(saved));
    case TGifOutcome::NoGain:
      return QStringLiteral("No smaller encoding: the file stays as it is");
    case TGifOutcome::Replaced:
      return QStringLiteral("Replaced: %1 saved").arg(Bytes(saved));
    case TGifOutcome::NotReplaced: {
      QString reason = Reason(item);
      return reason.startsWith(QStringLiteral("Not replaced")) ? reason : QStringLiteral("Not replaced: ") + reason;
    }
    case TGifOutcome::Failed:
      return QStringLiteral("Failed: ") + Reason(item);
    case TGifOutcome::Aborted:
      return QStringLiteral("Aborted: the file was not changed");
  }
  return {};
}

QIcon OutcomeIcon(TGifOutcome outcome) {
  QStyle* style = QApplication::style();
  switch (outcome) {
    case TGifOutcome::CanShrink:
      return style->standardIcon(QStyle::SP_ArrowDown);
    case TGifOutcome::Replaced:
      return style->standardIcon(QStyle::SP_DialogApplyButton);
    case TGifOutcome::NotReplaced:
      return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case TGifOutcome::Failed:
      return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case TGifOutcome::Aborted:
      return style->standardIcon(QStyle::SP_MediaStop);
    case TGifOutcome::NoGain:
      break;
  }
  return {};
}

void TGifRunSummary::Add(TGifOutcome outcome, const TGifFileResult& result) {
  if (outcome == TGifOutcome::Aborted) return;
  ++FFiles;
  FShrunk += outcome == TGifOutcome::Replaced || outcome == TGifOutcome::CanShrink;
  FNotReplaced += outcome == TGifOutcome::NotReplaced;
  FFailed += outcome == TGifOutcome::Failed;
  if (result.Ending == TGifFileEnding::Complete) FSourceBytes += result.SourceSize;
}

QString TGifRunSummary::Text(int64_t savedBytes, bool aborted) const {
  QString text = FOptimize ? QStringLiteral("Optimize") : QStringLiteral("Test All");
  if (aborted) text += QStringLiteral(" (aborted)");
  text += QStringLiteral(": %1 file%2").arg(FFiles).arg(FFiles == 1 ? "" : "s");
  text += FOptimize ? QStringLiteral(", %1 replaced").arg(FShrunk) : QStringLiteral(", %1 can shrink").arg(FShrunk);
  if (FNotReplaced > 0) text += QStringLiteral(", %1 not replaced").arg(FNotReplaced);
  if (FFailed > 0) text += QStringLiteral(", %1 failed").arg(FFailed);
  int percent = FSourceBytes > 0 ? int((savedBytes * 100 + FSourceBytes / 2) / FSourceBytes) : 0;
  text += QStringLiteral("; %1 %2 (%3%)")
              .arg(Bytes(savedBytes), FOptimize ? QStringLiteral("saved") : QStringLiteral("to save"))
              .arg(percent);
  return text;
}

}  // namespace corvane
