#include "window_form_host.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace recorder::window {

void WindowFormHost::showForm() { window_.show(); }

int WindowFormHost::screenWidth() const {
  const QScreen* screen = window_.screen();
  return screen != nullptr ? screen->availableGeometry().width() : 0;
}

int WindowFormHost::screenHeight() const {
  const QScreen* screen = window_.screen();
  return screen != nullptr ? screen->availableGeometry().height() : 0;
}

void WindowFormHost::moveForm(int left, int top) {
  const QScreen* screen = window_.screen();
  const QPoint origin = screen != nullptr ? screen->availableGeometry().topLeft() : QPoint();
  window_.move(origin + QPoint(left, top));
}

void WindowFormHost::endProgram() {
  if (ended_) return;
  ended_ = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [] {
    // Only a running loop can be left; without one (a test driving the window) a request to
    // leave would linger and end the next dialog's loop at once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
  });
}

void WindowFormHost::showAbout() {
  // Not modal: the recorder keeps running while it is open.
  auto* box = new QMessageBox(QMessageBox::NoIcon, "About ZelkChart",
                              "ZelkChart\nStrip-chart recorder for a receiver's audio output.",
                              QMessageBox::Ok, &window_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

std::int32_t WindowFormHost::windowHandle() const {
  return static_cast<std::int32_t>(window_.winId());
}

}  // namespace recorder::window
