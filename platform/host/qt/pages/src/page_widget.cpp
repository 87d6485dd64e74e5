#include "host/qt/page_widget.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "host/qt/color_text.h"

namespace host::qt {

namespace {

using automation::Variant;

// The page's field kinds, as its FieldKind member numbers them.
enum Kind {
  kCheck = 0,
  kDropList = 1,
  kSelector = 2,
  kInteger = 3,
  kReal = 4,
  kText = 5,
  kColor = 6
};

}  // namespace

struct PageWidget::Field {
  int kind = kText;
  QString property;
  QWidget* input = nullptr;       // the check box, combo box or line edit
  QToolButton* swatch = nullptr;  // a colour's dialog button, showing the colour
  bool spin = false;
  double low = 0;
  double high = 0;
};

PageWidget::PageWidget(std::shared_ptr<automation::Dispatch> page, QWidget* parent)
    : QWidget(parent), page_(std::move(page)) {
  report_ = [this](const QString& message) { QMessageBox::warning(this, title(), message); };
  build();
  refresh();
}

QString PageWidget::title() const { return QString::fromStdString(page_->get("Title").toString()); }

std::int32_t PageWidget::helpContext() const { return page_->get("HelpContext").toI4(); }

Variant PageWidget::call(const char* member, std::vector<Variant> args) {
  return page_->call(member, std::span<Variant>(args));
}

int PageWidget::fieldOf(const QString& property) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i]->property.compare(property, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

QWidget* PageWidget::inputOf(int field) const {
  return field >= 0 && field < static_cast<int>(fields_.size()) ? fields_[field]->input : nullptr;
}

void PageWidget::build() {
  auto* form = new QFormLayout(this);
  const int count = page_->get("FieldCount").toI4();
  for (int i = 0; i < count; ++i) {
    auto field = std::make_unique<Field>();
    field->kind = call("FieldKind", {Variant(i)}).toI4();
    field->property = QString::fromStdString(call("FieldName", {Variant(i)}).toString());
    field->spin = call("FieldSpin", {Variant(i)}).toBool();
    field->low = call("FieldLow", {Variant(i)}).toR8();
    field->high = call("FieldHigh", {Variant(i)}).toR8();
    QWidget* row = nullptr;
    switch (field->kind) {
      case kCheck: {
        auto* box = new QCheckBox(this);
        connect(box, &QCheckBox::toggled, this,
                [this, i](bool on) { edit(i, on ? QStringLiteral("1") : QStringLiteral("0")); });
        field->input = row = box;
        break;
      }
      case kDropList:
      case kSelector: {
        auto* combo = new QComboBox(this);
        combo->setEditable(field->kind == kSelector);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (field->kind == kDropList) {
          connect(combo, &QComboBox::activated, this, [this, i](int entry) { choose(i, entry); });
        } else {
          // A selector takes the number chosen or typed, as text.
          connect(combo, &QComboBox::activated, this,
                  [this, i, combo](int entry) { edit(i, combo->itemText(entry)); });
          connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, i, combo] {
            if (!refreshing_ &&
                combo->currentText().toStdString() != call("FieldText", {Variant(i)}).toString())
              edit(i, combo->currentText());
          });
        }
        field->input = row = combo;
        break;
      }
      default: {
        auto* line = new QLineEdit(this);
        connect(line, &QLineEdit::editingFinished, this, [this, i, line] {
          // Leaving an unchanged field is no change.
          if (!refreshing_ &&
              line->text().toStdString() != call("FieldText", {Variant(i)}).toString())
            edit(i, line->text());
        });
        field->input = line;
        auto* box = new QWidget(this);
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(line, 1);
        if (field->spin) {
          // Steps of one through Low to High from the value shown.
          for (const int step : {-1, 1}) {
            auto* button = new QToolButton(box);
            button->setArrowType(step < 0 ? Qt::DownArrow : Qt::UpArrow);
            button->setAccessibleName(step < 0 ? tr("Down") : tr("Up"));
            button->setAutoRepeat(true);
            connect(button, &QToolButton::clicked, this, [this, i, line, step] {
              const Field& f = *fields_[static_cast<std::size_t>(i)];
              bool ok = false;
              const double now = line->text().toDouble(&ok);
              const double next = std::clamp(ok ? std::round(now) + step : f.low, f.low, f.high);
              edit(i, QString::number(next, 'g', 15));
            });
            layout->addWidget(button);
          }
        }
        if (field->kind == kColor) {
          auto* button = new QToolButton(box);
          button->setText(QStringLiteral("..."));
          button->setAccessibleName(tr("Choose colour"));
          connect(button, &QToolButton::clicked, this, [this, i, line] {
            const QColor chosen = QColorDialog::getColor(
                colorOfText(line->text()), this, fields_[static_cast<std::size_t>(i)]->property);
            if (chosen.isValid()) edit(i, textOfColor(chosen));
          });
          layout->addWidget(button);
          field->swatch = button;
        }
        row = box;
        break;
      }
    }
    form->addRow(field->property, row);
    fields_.push_back(std::move(field));
  }
}

void PageWidget::refresh() {
  refreshing_ = true;
  for (std::size_t n = 0; n < fields_.size(); ++n) {
    Field& field = *fields_[n];
    const int i = static_cast<int>(n);
    const QString text = QString::fromStdString(call("FieldText", {Variant(i)}).toString());
    const QSignalBlocker block(field.input);
    switch (field.kind) {
      case kCheck:
        static_cast<QCheckBox*>(field.input)->setChecked(text == "1");
        break;
      case kDropList:
      case kSelector: {
        auto* combo = static_cast<QComboBox*>(field.input);
        combo->clear();
        const int entries = call("FieldEntryCount", {Variant(i)}).toI4();
        for (int e = 0; e < entries; ++e)
          combo->addItem(
              QString::fromStdString(call("FieldEntry", {Variant(i), Variant(e)}).toString()));
        const int index = call("FieldIndex", {Variant(i)}).toI4();
        combo->setCurrentIndex(index);
        if (combo->isEditable()) combo->setEditText(text);
        break;
      }
      default:
        static_cast<QLineEdit*>(field.input)->setText(text);
        break;
    }
    if (field.swatch) {
      // System colours (and texts that are no colour yet) show the button's plain text.
      const QColor color = colorOfText(text);
      QPixmap sample(12, 12);
      sample.fill(color.isValid() ? color : Qt::transparent);
      field.swatch->setIcon(color.isValid() ? QIcon(sample) : QIcon());
      field.swatch->setToolButtonStyle(color.isValid() ? Qt::ToolButtonIconOnly
                                                       : Qt::ToolButtonTextOnly);
    }
  }
  refreshing_ = false;
}

void PageWidget::reload() {
  call("Load", {});
  refresh();
}

bool PageWidget::edit(int field, const QString& text) {
  if (refreshing_) return false;
  return finish(call("Edit", {Variant(field), Variant(text.toStdString())}).toBool());
}

bool PageWidget::choose(int field, int entry) {
  if (refreshing_) return false;
  return finish(call("Choose", {Variant(field), Variant(entry)}).toBool());
}

bool PageWidget::finish(bool accepted) {
  // The change shows on the control at once: whatever the page holds is applied now.
  const bool applied = accepted && call("Apply", {}).toBool();
  refresh();
  if (applied) {
    if (changed_) changed_();
    return true;
  }
  const int errorField = page_->get("ErrorField").toI4();
  if (QWidget* input = inputOf(errorField)) input->setFocus(Qt::OtherFocusReason);
  if (report_) report_(QString::fromStdString(page_->get("Error").toString()));
  return false;
}

}  // namespace host::qt
