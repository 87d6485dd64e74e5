// A property page's widgets: a thin layer over a page object, driven late-bound like any other
// automation object. Each field shows what the page holds and hands the user's change to it; the
// page checks, writes and reports, and every field is shown again after each call.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "automation/automation.h"

namespace host::qt {

class PageWidget final : public QWidget {
 public:
  // The page must already hold its control (its Object).
  explicit PageWidget(std::shared_ptr<automation::Dispatch> page, QWidget* parent = nullptr);

  automation::Dispatch& page() { return *page_; }
  QString title() const;
  std::int32_t helpContext() const;

  // Reads the control again and shows it.
  void reload();
  // Shows the page's field texts and lists as they are now.
  void refresh();

  // After every change the control took: the program shows it and marks its document changed.
  void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }
  // How a refusal is told to the user; a warning box unless replaced.
  void setErrorReporter(std::function<void(const QString&)> reporter) {
    report_ = std::move(reporter);
  }

  // The field of a property, -1 when the page has none; the widget that takes its input.
  int fieldOf(const QString& property) const;
  QWidget* inputOf(int field) const;

  // The user's change of a field: an edited text, or the entry chosen from a list. Applied at
  // once; false when the page or the control refused it.
  bool edit(int field, const QString& text);
  bool choose(int field, int entry);

 private:
  struct Field;
  void build();
  bool finish(bool accepted);
  automation::Variant call(const char* member, std::vector<automation::Variant> args);

  std::shared_ptr<automation::Dispatch> page_;
  std::vector<std::unique_ptr<Field>> fields_;
  std::function<void()> changed_;
  std::function<void(const QString&)> report_;
  bool refreshing_ = false;
};

}  // namespace host::qt
