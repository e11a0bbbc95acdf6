#pragma once
// The desktop program's application object: its title, the error report that every
// error escaping a user action reaches, and the event loop's share of the work other
// threads hand to the user-interface thread.

#include <QApplication>
#include <atomic>
#include <exception>
#include <functional>

namespace corvane {

class TUiServices;

inline const QString kApplicationTitle = QStringLiteral("Corvane");

// The report's text: the message with "." appended when its last character sorts after ".".
QString ErrorReportText(const QString& message);

class TCorvaneApplication : public QApplication {
 public:
  // Makes the calling thread the user-interface thread, whose event loop runs the work
  // that other threads queue for it.
  TCorvaneApplication(int& argc, char** argv, TUiServices& ui);
  ~TCorvaneApplication() override;

  // A modal box with an error icon, captioned with the application title; an EAbort
  // shows nothing.
  void ReportError(const std::exception& error);
  void ReportError(const QString& message);

  // Errors thrown by an event handler end that handler and are reported; the program goes
  // on waiting for input.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  // Called on the queueing thread: posts one drain of the queue to the event loop.
  void ScheduleSynchronize();
  void RunSynchronized();

  TUiServices& FUi;
  std::atomic<bool> FSynchronizeScheduled{false};
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
