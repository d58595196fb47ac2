#include "event_steps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace lorvex::qttest {

namespace {
constexpr int kPollMs = 5;

// The steps still waiting, to be cancelled when a test ends.
std::vector<QPointer<QTimer>>& Waiting() {
  static std::vector<QPointer<QTimer>> waiting;
  return waiting;
}
}  // namespace

void CancelSteps() {
  // A step that has fired is stopped and deletes itself once its action has returned.
  for (const QPointer<QTimer>& timer : Waiting())
    if (timer != nullptr && timer->isActive()) delete timer.data();
  Waiting().clear();
  if (QCoreApplication::instance() != nullptr)
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void When(std::function<bool()> ready, std::function<void()> action, int timeoutMs,
          std::function<void()> onTimeout) {
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    // Stop first: the action may run a nested event loop (a whole build), in which this
    // timer must not fire again.
    if (ready()) {
      timer->stop();
      timer->deleteLater();
      action();  // the timer is gone only once the action has returned
    } else if (clock->elapsed() > timeoutMs) {
      timer->stop();
      timer->deleteLater();
      if (onTimeout) onTimeout();
    }
  });
  Waiting().push_back(timer);
  timer->start(kPollMs);
}

}  // namespace lorvex::qttest
