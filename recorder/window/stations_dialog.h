// Options > Stations...: the stations the window records, one row each (call sign, carrier and
// band width in Hz), added, removed and edited in place. OK keeps the list only when every row
// is a station and the list as a whole can be recorded; otherwise the dialog says why and stays.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <string>
#include <vector>

#include "recorder/stations.h"

namespace recorder::window {

class StationsDialog final : public QDialog {
 public:
  StationsDialog(const std::vector<Station>& stations, QWidget* parent);

  // The list as accepted (valid only after OK).
  const std::vector<Station>& stations() const { return stations_; }

  QTableWidget* table() const { return table_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* removeButton() const { return remove_; }
  QLabel* problemLabel() const { return problem_; }

  void accept() override;

 private:
  void addRow(const Station& station);

  std::vector<Station> stations_;
  QTableWidget* table_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QLabel* problem_ = nullptr;
};

// The stations as the remembered choice keeps them ("NAA:24000:300 NWC:19800:300") and back;
// a text that is not such a list gives none.
std::string stationsChoiceText(const std::vector<Station>& stations);
std::vector<Station> stationsOfChoiceText(const std::string& text);

}  // namespace recorder::window
