#include "host/qt/qt_container.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ocx/messages.h"
#include "qt_container_site.h"
#include "qt_input.h"

namespace host::qt {

namespace {

// The control's natural size before the program places it.
constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 240;

}  // namespace

QtContainer::QtContainer(QWidget* parent) : QWidget(parent) {
  resize(kDefaultWidth, kDefaultHeight);
  site_ = std::make_unique<Site>(*this);
  // The control paints every pixel of the widget from its own screen image.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // mouse moves reach the control without a button held
  setFocusPolicy(Qt::ClickFocus);
}

QtContainer::~QtContainer() { site_->destroyControl(); }

automation::Dispatch& QtContainer::create(const automation::Guid& clsid) {
  return site_->create(clsid);
}

automation::Dispatch& QtContainer::control() { return site_->object(); }

automation::Dispatch& QtContainer::load(const automation::Guid& clsid,
                                        std::span<const std::uint8_t> stream) {
  return site_->create(clsid, [stream](ocx::Control& c) { c.loadFromStream(stream); });
}

automation::Dispatch& QtContainer::loadBag(const automation::Guid& clsid, std::string_view bag) {
  return site_->create(clsid, [bag](ocx::Control& c) { c.loadFromBag(bag); });
}

std::vector<std::uint8_t> QtContainer::saveStream() { return site_->saveStream(); }

std::string QtContainer::saveBag() { return site_->saveBag(); }

void QtContainer::setUserMode(bool userMode) { site_->setUserMode(userMode); }

bool QtContainer::userMode() const { return site_->userMode(); }

void QtContainer::pump() {
  site_->runPosted();
  if (site_->needsPaint()) {
    site_->paintNow();
    update();
  }
}

PixelView QtContainer::screenImage() const { return site_->screenView(); }

std::uint32_t QtContainer::pixel(int x, int y) const { return site_->screen().pixel(x, y); }

std::uintptr_t QtContainer::windowHandle() const { return site_->handle(); }

int QtContainer::cursorShape() const { return site_->cursor(); }

void QtContainer::setEventHandler(EventHandler handler) {
  site_->setEventHandler(std::move(handler));
}

QSize QtContainer::sizeHint() const { return QSize(kDefaultWidth, kDefaultHeight); }

bool QtContainer::event(QEvent* event) {
  if (event->type() == kMessagesPosted) {
    site_->runPosted();
    return true;
  }
  return QWidget::event(event);
}

void QtContainer::paintEvent(QPaintEvent* event) {
  if (site_->needsPaint()) site_->paintNow();
  const gdi::Bitmap& image = site_->screen();
  if (image.width() == 0 || image.height() == 0) return;
  // 0x00BBGGRR words are R, G, B, X bytes in memory: RGBX8888 without conversion.
  const QImage view(reinterpret_cast<const uchar*>(image.pixels().data()), image.width(),
                    image.height(), image.width() * 4, QImage::Format_RGBX8888);
  QPainter painter(this);
  const QRect area = event->rect();
  painter.drawImage(area.topLeft(), view, area);
}

void QtContainer::resizeEvent(QResizeEvent*) { site_->resize(width(), height()); }

void QtContainer::mousePressEvent(QMouseEvent* event) {
  // The second press of a double click becomes the double-click message, as on the platform;
  // toolkits differ in what else they send, so the timing is judged here.
  const QPoint at = event->position().toPoint();
  const bool doubleClick =
      lastPress_.button == event->button() &&
      event->timestamp() - lastPress_.time <=
          static_cast<quint64>(QApplication::doubleClickInterval()) &&
      (at - lastPress_.at).manhattanLength() <= QApplication::startDragDistance();
  lastPress_ = doubleClick ? Press{} : Press{event->button(), event->timestamp(), at};
  const unsigned message = buttonMessage(event->button(), true, doubleClick);
  if (message == 0) return;
  site_->mouse(message, at.x(), at.y(), mouseKeyFlags(event->buttons(), event->modifiers()));
}

void QtContainer::mouseReleaseEvent(QMouseEvent* event) {
  const unsigned message = buttonMessage(event->button(), false, false);
  if (message == 0) return;
  const QPoint at = event->position().toPoint();
  site_->mouse(message, at.x(), at.y(), mouseKeyFlags(event->buttons(), event->modifiers()));
}

// The press handler has made the double click already.
void QtContainer::mouseDoubleClickEvent(QMouseEvent*) {}

void QtContainer::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  site_->mouse(ocx::kWmMouseMove, at.x(), at.y(),
               mouseKeyFlags(event->buttons(), event->modifiers()));
}

void QtContainer::leaveEvent(QEvent*) { site_->mouseLeft(); }

void QtContainer::keyPressEvent(QKeyEvent* event) {
  const unsigned keys = mouseKeyFlags(Qt::NoButton, event->modifiers());
  if (const int vk = virtualKey(*event); vk != 0) site_->key(kWmKeyDown, vk, keys);
  // Typed characters follow their key as the platform's translated character message: printable
  // ones and the control characters of Enter, Backspace, Escape and Tab.
  const QString text = event->text();
  if (text.isEmpty()) return;
  const char16_t c = text.at(0).unicode();
  if ((c >= 0x20 && c != 0x7F) || c == '\r' || c == '\b' || c == 0x1B || c == '\t')
    site_->key(kWmChar, c, keys);
}

void QtContainer::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;  // the platform sends only repeated key-downs
  if (const int vk = virtualKey(*event); vk != 0)
    site_->key(kWmKeyUp, vk, mouseKeyFlags(Qt::NoButton, event->modifiers()));
}

}  // namespace host::qt
