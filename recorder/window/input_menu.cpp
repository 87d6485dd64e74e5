#include "input_menu.h"

#include <QFileInfo>

#include "host/common_dialog.h"

namespace recorder::window {

namespace {

QString escapeAmpersands(const std::string& text) {
  return QString::fromStdString(text).replace('&', "&&");
}

}  // namespace

InputMenu::InputMenu(xvtools::XVWaveInX& waveIn, host::Prompter& prompter, DeviceLister devices,
                     QWidget* parent)
    : QMenu("&Input", parent), waveIn_(waveIn), prompter_(prompter), devices_(std::move(devices)) {
  // The sound system is asked only when the operator opens the menu, never at start-up.
  connect(this, &QMenu::aboutToShow, this, [this] { refresh(); });
}

void InputMenu::refresh() {
  clear();
  using Kind = xvtools::InputSpec::Kind;
  const std::vector<std::string> devices = devices_ ? devices_() : std::vector<std::string>{};
  if (devices.empty()) {
    addAction("No capture device")->setEnabled(false);
  } else {
    addChoice("&Default capture device",
              {Kind::DefaultDevice, {}, xvtools::InputSpec::kDefaultSeed});
    for (const std::string& name : devices) {
      addChoice(escapeAmpersands(name), {Kind::Device, name, xvtools::InputSpec::kDefaultSeed});
    }
  }
  addSeparator();
  addChoice("&Synthetic signal", {});
  const xvtools::InputSpec& current = waveIn_.input();
  QAction* recording = addAction(
      current.kind == Kind::File
          ? "&Recording: " +
                escapeAmpersands(
                    QFileInfo(QString::fromStdString(current.name)).fileName().toStdString())
          : QString("&Recording..."));
  recording->setCheckable(true);
  recording->setChecked(current.kind == Kind::File);
  connect(recording, &QAction::triggered, this, [this] { chooseRecording(); });
}

void InputMenu::addChoice(const QString& text, const xvtools::InputSpec& choice) {
  QAction* action = addAction(text);
  action->setCheckable(true);
  action->setChecked(waveIn_.input() == choice);
  connect(action, &QAction::triggered, this, [this, choice] {
    waveIn_.setInput(choice);
    if (chosen_) chosen_();
  });
}

void InputMenu::chooseRecording() {
  const std::string path =
      prompter_.openFile("Recordings (*.wav;*.flac;*.ogg)|*.wav;*.flac;*.ogg|All (*.*)|*.*",
                         host::CommonDialog::cdlOFNFileMustExist);
  if (path.empty()) return;
  xvtools::InputSpec choice;
  choice.kind = xvtools::InputSpec::Kind::File;
  choice.name = path;
  waveIn_.setInput(choice);
  if (chosen_) chosen_();
}

}  // namespace recorder::window
