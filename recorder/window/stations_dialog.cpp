#include "stations_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <cstdio>
#include <sstream>

namespace recorder::window {

namespace {

QString number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

std::string cell(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item != nullptr ? item->text().trimmed().toStdString() : std::string();
}

}  // namespace

StationsDialog::StationsDialog(const std::vector<Station>& stations, QWidget* parent)
    : QDialog(parent), stations_(stations) {
  setWindowTitle("Stations");
  table_ = new QTableWidget(0, 3, this);
  table_->setHorizontalHeaderLabels({"Call sign", "Frequency (Hz)", "Width (Hz)"});
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  for (const Station& s : stations) addRow(s);
  add_ = new QPushButton("&Add", this);
  remove_ = new QPushButton("&Remove", this);
  connect(add_, &QPushButton::clicked, this, [this] {
    addRow({"", 0.0, kDefaultStationWidthHz});
    table_->setCurrentCell(table_->rowCount() - 1, 0);
    table_->editItem(table_->item(table_->rowCount() - 1, 0));
  });
  connect(remove_, &QPushButton::clicked, this, [this] {
    if (table_->currentRow() >= 0) table_->removeRow(table_->currentRow());
  });
  problem_ = new QLabel(this);
  problem_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &StationsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* rowButtons = new QHBoxLayout;
  rowButtons->addWidget(add_);
  rowButtons->addWidget(remove_);
  rowButtons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(rowButtons);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
  resize(420, 300);
}

void StationsDialog::addRow(const Station& station) {
  const int row = table_->rowCount();
  table_->insertRow(row);
  table_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(station.call)));
  table_->setItem(row, 1,
                  new QTableWidgetItem(station.frequencyHz > 0 ? number(station.frequencyHz) : ""));
  table_->setItem(row, 2, new QTableWidgetItem(number(station.widthHz)));
}

void StationsDialog::accept() {
  std::vector<Station> list;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const std::string call = cell(*table_, row, 0), hz = cell(*table_, row, 1),
                      width = cell(*table_, row, 2);
    if (call.empty() && hz.empty()) continue;  // a row added and left empty
    std::string error;
    const auto station = parseStation(call + ":" + hz + (width.empty() ? "" : ":" + width), error);
    if (!station) {
      problem_->setText(QString("Row %1: %2").arg(row + 1).arg(QString::fromStdString(error)));
      return;
    }
    list.push_back(*station);
  }
  if (const std::string problem = stationListProblem(list); !problem.empty()) {
    problem_->setText(QString::fromStdString(problem));
    return;
  }
  stations_ = std::move(list);
  QDialog::accept();
}

std::string stationsChoiceText(const std::vector<Station>& stations) {
  std::string text;
  for (const Station& s : stations) {
    char line[96];
    std::snprintf(line, sizeof line, "%s%s:%.10g:%.10g", text.empty() ? "" : " ", s.call.c_str(),
                  s.frequencyHz, s.widthHz);
    text += line;
  }
  return text;
}

std::vector<Station> stationsOfChoiceText(const std::string& text) {
  std::vector<Station> list;
  std::istringstream words(text);
  std::string word, error;
  while (words >> word) {
    const auto station = parseStation(word, error);
    if (!station) return {};
    list.push_back(*station);
  }
  if (!stationListProblem(list).empty()) return {};
  return list;
}

}  // namespace recorder::window
