#include "Application.h"

#include <QFont>

#include "UiServices.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Exceptions.h"
#include "platform/Synchronize.h"

namespace corvane {

QString ErrorReportText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar('.')) return message + '.';
  return message;
}

TCorvaneApplication::TCorvaneApplication(int& argc, char** argv, TUiServices& ui)
    : QApplication(argc, argv), FUi(ui) {
  setApplicationName(kApplicationTitle);
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  setFont(font);
  SetMainThread();
  SetWakeMainThreadHook([this] { ScheduleSynchronize(); });
  InstallGIFRenderer();
}

TCorvaneApplication::~TCorvaneApplication() { SetWakeMainThreadHook({}); }

void TCorvaneApplication::ScheduleSynchronize() {
  if (FSynchronizeScheduled.exchange(true)) return;  // a drain is on its way
  QMetaObject::invokeMethod(this, [this] { RunSynchronized(); }, Qt::QueuedConnection);
}

void TCorvaneApplication::RunSynchronized() {
  // Cleared first, so that work queued while the queue drains posts another drain.
  FSynchronizeScheduled.store(false);
  try {
    CheckSynchronize();
  } catch (...) {
    ScheduleSynchronize();  // for the work behind the one that failed
    throw;
  }
}

void TCorvaneApplication::ReportError(const std::exception& error) {
  if (dynamic_cast<const EAbort*>(&error)) return;  // a silent cancellation
  ReportError(QString::fromUtf8(error.what()));
}

void TCorvaneApplication::ReportError(const QString& message) {
  FUi.ShowError(kApplicationTitle, ErrorReportText(message));
}

TCorvaneApplication& CorvaneApp() { return *static_cast<TCorvaneApplication*>(QCoreApplication::instance()); }

bool TCorvaneApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ReportError(error);
    return true;
  }
}

void RunHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    CorvaneApp().ReportError(error);
  }
}

}  // namespace corvane
