// A small control module for the container tests: it draws into an off-screen image and copies
// the invalid part to the screen when painted, runs a frame timer that posts paint requests,
// fires a mouse event with by-reference arguments, and uses the site's desktop services.
#include <strings.h>
#include <atomic>
#include <cstring>

#include "automation/server.h"
#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "ocx/control.h"
#include "ocx/messages.h"

namespace {

using automation::DispId;
using automation::Variant;

std::atomic<int> liveObjects{0};

constexpr automation::Guid kClassId = {
    0x5A3E0C11, 0x7D2B, 0x4C1E, {0x9F, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xFF, 0xEE}};

enum : DispId {
  kFill = 1,        // put: fills the off-screen image with a colour and invalidates all of it
  kMark,            // call(x, y, colour): one pixel, invalidated alone
  kPaints,          // get: paints so far
  kLastInvalid,     // get: "left top right bottom" of the last paint's invalid rectangle
  kSize,            // get: "width height" from the last resize
  kUserMode,        // get: the ambient user mode
  kAmbientChanges,  // get
  kStartFrames,     // call(period): a frame timer posting paint requests, one outstanding
  kStopFrames,      // call
  kTicks,           // get: timer callbacks so far
  kPostMessages,    // call(count): posts that many private messages
  kMessages,        // get: private messages received
  kCopy,            // call(append): a 2-byte CF_DIB stand-in, emptying first unless append
  kOwnsClipboard,   // get
  kSysColor,        // call(index)
  kAskSize,         // call(width, height)
  kCursor,          // put
  kWriteBack,       // get: what the event handler wrote into the last event's first argument
  kWindow,          // get: the window handle the control was given
  kRepaintInPaint,  // put: invalidate everything from inside every paint (a runaway control)
  kTint,            // put: fills the off-screen image without invalidating anything
  kLogPixels,       // get: the ambient logical pixels per inch
  kDirtyPaints,     // get: paints whose device context did not start with the default pen
};

struct Name {
  const char* name;
  DispId id;
};
constexpr Name kNames[] = {{"Fill", kFill},
                           {"Mark", kMark},
                           {"Paints", kPaints},
                           {"LastInvalid", kLastInvalid},
                           {"Size", kSize},
                           {"UserMode", kUserMode},
                           {"AmbientChanges", kAmbientChanges},
                           {"StartFrames", kStartFrames},
                           {"StopFrames", kStopFrames},
                           {"Ticks", kTicks},
                           {"PostMessages", kPostMessages},
                           {"Messages", kMessages},
                           {"Copy", kCopy},
                           {"OwnsClipboard", kOwnsClipboard},
                           {"SysColor", kSysColor},
                           {"AskSize", kAskSize},
                           {"Cursor", kCursor},
                           {"WriteBack", kWriteBack},
                           {"Window", kWindow},
                           {"RepaintInPaint", kRepaintInPaint},
                           {"Tint", kTint},
                           {"LogPixels", kLogPixels},
                           {"DirtyPaints", kDirtyPaints}};

std::string rectText(const gdi::Rect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

class FakeChart final : public ocx::Control {
 public:
  FakeChart() { ++liveObjects; }
  ~FakeChart() override {
    frames_.reset();
    --liveObjects;
  }

  DispId idOfName(std::string_view name) const override {
    for (const Name& n : kNames) {
      if (std::strlen(n.name) == name.size() &&
          strncasecmp(n.name, name.data(), name.size()) == 0) {
        return n.id;
      }
    }
    return automation::kDispIdUnknown;
  }

  Variant get(DispId id) override {
    switch (id) {
      case kPaints:
        return Variant(paints_);
      case kLastInvalid:
        return Variant(rectText(lastInvalid_));
      case kSize:
        return Variant(std::to_string(size_.x) + " " + std::to_string(size_.y));
      case kUserMode:
        return Variant(ambientUserMode());
      case kAmbientChanges:
        return Variant(ambientChanges_);
      case kTicks:
        return Variant(static_cast<std::int32_t>(ticks_.load()));
      case kMessages:
        return Variant(messages_);
      case kOwnsClipboard:
        return Variant(site()->clipboard().ownedByCaller());
      case kWriteBack:
        return Variant(writeBack_);
      case kWindow:
        return Variant(static_cast<std::int32_t>(hWnd()));
      case kLogPixels:
        return Variant(static_cast<std::int32_t>(logPixelsX() * 1000 + logPixelsY()));
      case kDirtyPaints:
        return Variant(dirtyPaints_);
      default:
        throwError(automation::kErrNotSupported);
    }
  }

  void put(DispId id, const Variant& value) override {
    switch (id) {
      case kFill:
        surface_.fill(static_cast<gdi::ColorRef>(value.toI4()));
        invalidateAll();
        return;
      case kTint:
        surface_.fill(static_cast<gdi::ColorRef>(value.toI4()));
        return;
      case kCursor:
        site()->setCursor(value.toI4());
        return;
      case kRepaintInPaint:
        repaintInPaint_ = value.toBool();
        return;
      default:
        throwError(automation::kErrNotSupported);
    }
  }

  Variant call(DispId id, std::span<Variant> args) override {
    switch (id) {
      case kMark: {
        const int x = args[0].toI4();
        const int y = args[1].toI4();
        surface_.setPixel(x, y, static_cast<gdi::ColorRef>(args[2].toI4()));
        invalidate({x, y, x + 1, y + 1});
        return Variant();
      }
      case kStartFrames: {
        pending_ = 0;
        frames_ = site()->startPeriodicTimer(static_cast<unsigned>(args[0].toI4()), [this] {
          ++ticks_;
          // At most one paint request is outstanding; the paint clears it.
          int expected = 0;
          if (pending_.compare_exchange_strong(expected, 1)) {
            postMessage(ocx::kWmPaint, 0, 0);
          }
        });
        return Variant(frames_ != nullptr);
      }
      case kStopFrames:
        frames_.reset();
        return Variant();
      case kPostMessages:
        for (int i = 0; i < args[0].toI4(); ++i) postMessage(ocx::kWmUser + 1, 0, 0);
        return Variant();
      case kCopy: {
        ocx::Clipboard& clipboard = site()->clipboard();
        if (!clipboard.open()) return Variant(false);
        if (!args[0].toBool()) clipboard.empty();
        clipboard.setData(ocx::kCfDib, {0x28, 0x00});
        clipboard.close();
        return Variant(true);
      }
      case kSysColor:
        return Variant(static_cast<std::int32_t>(site()->systemColor(args[0].toI4())));
      case kAskSize:
        site()->requestResize(args[0].toI4(), args[1].toI4());
        return Variant();
      default:
        throwError(automation::kErrNotSupported);
    }
  }

  void onResize(int width, int height) override {
    size_ = {width, height};
    surface_ = gdi::Bitmap(width, height, 0x00FFFFFF);
  }

  void onPaint(gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override {
    ++paints_;
    if (!(dc.pen() == gdi::Pen())) ++dirtyPaints_;
    lastInvalid_ = invalid;
    const gdi::Rect area = invalid.isEmpty() ? bounds : invalid;
    gdi::DeviceContext source(&surface_);
    dc.bitBlt(area.left, area.top, area.width(), area.height(), source, area.left, area.top);
    // Leaves a pen selected on purpose: the next paint must start from the defaults again.
    dc.selectPen(gdi::Pen(gdi::PS_SOLID, 3, 0x0000FF));
    pending_ = 0;
    if (repaintInPaint_) invalidateAll();
  }

  void onMessage(unsigned msg, std::uintptr_t, std::intptr_t) override {
    if (msg == ocx::kWmUser + 1) ++messages_;
  }

  void onMouse(unsigned message, int x, int y, unsigned keys) override {
    std::int16_t button = static_cast<std::int16_t>(keys);
    std::int16_t shift = site()->isAltDown() ? 4 : 0;
    Variant buttonArg(button);
    Variant shiftArg(shift);
    fireEvent(static_cast<DispId>(message),
              {Variant::ref(&buttonArg), Variant::ref(&shiftArg), Variant(static_cast<float>(x)),
               Variant(static_cast<float>(y))});
    writeBack_ = buttonArg.toI2();
  }

  void onAmbientChanged(DispId) override { ++ambientChanges_; }

 private:
  gdi::Bitmap surface_;
  gdi::Point size_{};
  std::int32_t paints_ = 0;
  gdi::Rect lastInvalid_{};
  std::int32_t ambientChanges_ = 0;
  std::int32_t messages_ = 0;
  std::int32_t dirtyPaints_ = 0;
  std::int16_t writeBack_ = 0;
  bool repaintInPaint_ = false;
  std::atomic<std::int64_t> ticks_{0};
  std::atomic<int> pending_{0};
  std::unique_ptr<ocx::PeriodicTimer> frames_;
};

class FakeChartFactory final : public automation::ClassFactory {
 public:
  std::shared_ptr<automation::Dispatch> createInstance() override {
    return std::make_shared<FakeChart>();
  }
};

FakeChartFactory factory;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t DllGetClassObject(
    const automation::Guid* clsid, automation::ClassFactory** out) {
  if (clsid == nullptr || out == nullptr || !(*clsid == kClassId)) {
    return automation::kClassNotAvailable;
  }
  *out = &factory;
  return automation::kSOk;
}

__attribute__((visibility("default"))) std::int32_t DllCanUnloadNow() {
  return liveObjects == 0 ? automation::kSOk : automation::kSFalse;
}

}  // extern "C"
