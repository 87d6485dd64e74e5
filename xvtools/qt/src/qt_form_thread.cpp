#include "xvtools/qt/qt_form_thread.h"

#include <QMetaObject>

namespace xvtools::qt {

QtFormThread::QtFormThread() : receiver_(std::make_unique<QObject>()) {}

// Deleting the receiver discards the calls still queued for it.
QtFormThread::~QtFormThread() = default;

void QtFormThread::post(std::function<void()> task) {
  // A queued call is thread-safe and runs in the receiver's thread.
  QMetaObject::invokeMethod(receiver_.get(), std::move(task), Qt::QueuedConnection);
}

}  // namespace xvtools::qt
