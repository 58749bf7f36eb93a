#include "support/WindowThread.h"

#include <QCoreApplication>
#include <QThread>
#include <exception>

namespace lockvale {

bool OnWindowThread() {
  const QCoreApplication* application = QCoreApplication::instance();
  return application == nullptr || QThread::currentThread() == application->thread();
}

void RunOnWindowThread(const std::function<void()>& work) {
  if (OnWindowThread()) {
    work();
    return;
  }
  std::exception_ptr failure;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [&] {
        try {
          work();
        } catch (...) {  // Qt's event loop must not see it: the worker's caller gets it
          failure = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (failure) std::rethrow_exception(failure);
}

void PostTo(QObject* context, std::function<void()> work) {
  if (QThread::currentThread() == context->thread())
    work();
  else
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

}  // namespace lockvale
