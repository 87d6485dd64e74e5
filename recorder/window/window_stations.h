// The window's stations: measured from the window's input at its own rate while it records,
// drawn on the chart beside the form's trace, written to SID files when --sid-dir asks, and each
// one's latest level in dB shown on the status bar. Options > Stations... changes the list; a
// change takes effect at once when the recording is stopped, else at its next start. A new
// measurement begins at each start, so the SID files' times follow the clock across a pause.
#pragma once

#include <QLabel>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "recorder/station_chart.h"
#include "recorder/station_recorder.h"
#include "recorder/station_run.h"

namespace recorder::web {
class WebView;
}  // namespace recorder::web

namespace recorder::window {

class RecorderWindow;

class WindowStations final : public QObject {
 public:
  // options: the command line's (the list may be empty). Must be destroyed before the window.
  WindowStations(RecorderWindow& window, const StationSettings& settings);
  ~WindowStations() override;

  const std::vector<Station>& stations() const { return list_; }
  void setStations(std::vector<Station> list);
  // Called with the new list after the operator changed it in the dialog.
  void onChanged(std::function<void(const std::vector<Station>&)> changed) {
    changed_ = std::move(changed);
  }

  // The web view's status and picture name the stations measured; web must outlive this.
  void serve(web::WebView& web);

  QAction* dialogAction() const { return action_; }
  // The latest levels; null until there are stations.
  QLabel* levelsLabel() const { return levels_; }
  // Once a second: the completed intervals written, drawn and shown. Public for tests.
  void tick();

 private:
  void starting();
  void stopped();
  void showDialog();
  void showLevels();
  void replaceRecorder(std::unique_ptr<StationRecorder> recorder);

  RecorderWindow& window_;
  StationSettings settings_;
  std::vector<Station> list_;
  std::unique_ptr<StationRecorder> recorder_;
  std::unique_ptr<StationTraces> traces_;
  QAction* action_ = nullptr;
  QLabel* levels_ = nullptr;
  web::WebView* web_ = nullptr;
  QTimer timer_;
  bool measuring_ = false;
  std::string problem_;
  std::function<void(const std::vector<Station>&)> changed_;
};

}  // namespace recorder::window
