#include "Application.h"

#include <QFont>

#include "UiServices.h"
#include "platform/Exceptions.h"

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
