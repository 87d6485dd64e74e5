// The form's thread of a Qt program: posted tasks run in the event loop of the thread that
// created this object, in the order they were posted. Tasks still queued when it is destroyed
// are dropped.
#pragma once

#include <QObject>
#include <memory>

#include "xvtools/form_thread.h"

namespace xvtools::qt {

class QtFormThread final : public FormThread {
 public:
  QtFormThread();
  ~QtFormThread() override;
  void post(std::function<void()> task) override;

 private:
  std::unique_ptr<QObject> receiver_;
};

}  // namespace xvtools::qt
