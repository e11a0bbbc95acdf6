#pragma once
// The desktop program's application object: its title, and the error report that every
// error escaping a user action reaches.

#include <QApplication>
#include <exception>
#include <functional>

namespace corvane {

class TUiServices;

inline const QString kApplicationTitle = QStringLiteral("Corvane");

// The report's text: the message with "." appended when its last character sorts after ".".
QString ErrorReportText(const QString& message);

class TCorvaneApplication : public QApplication {
 public:
  TCorvaneApplication(int& argc, char** argv, TUiServices& ui);

  // A modal box with an error icon, captioned with the application title; an EAbort
  // shows nothing.
  void ReportError(const std::exception& error);
  void ReportError(const QString& message);

  // Errors thrown by an event handler end that handler and are reported; the program goes
  // on waiting for input.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  TUiServices& FUi;
};

TCorvaneApplication& CorvaneApp();

// Runs a user action; an error it throws ends it and reaches the error report.
void RunHandler(const std::function<void()>& handler);

// Binds a signal to a handler of receiver that runs under RunHandler.
template <class Sender, class Signal, class Receiver>
void BindHandler(Sender* sender, Signal signal, Receiver* receiver, void (Receiver::*handler)()) {
  QObject::connect(sender, signal, receiver, [receiver, handler] { RunHandler([=] { (receiver->*handler)(); }); });
}

}  // namespace corvane
