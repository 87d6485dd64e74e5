// Two runs of the recorder window on one configuration folder: what the operator picks in the
// first is what the second starts with, unless it is gone or the command line names another.
#include <stdlib.h>

#include <fstream>

#include "host/printers.h"
#include "host/qt/print_services.h"
#include "stations_dialog.h"
#include "window_choices.h"
#include "window_fixture.h"
#include "window_stations.h"

namespace recorder::window::testing {
namespace {

constexpr char kNoNote[] = "Data logging NOT enabled!";

std::string withDir(std::string text, const std::string& dir) {
  if (const auto at = text.find("{dir}"); at != std::string::npos) text.replace(at, 5, dir);
  return text;
}

class RememberedChoicesTest : public WindowTest {
 protected:
  // The choices are written where they are kept when they go: before the scratch folder goes,
  // or they would be left behind in it.
  void TearDown() override {
    window.reset();
    choices_.reset();
    WindowTest::TearDown();
  }
  // A window started as the program starts it, keeping the operator's choices.
  RecorderWindow& start(const std::vector<std::string>& present,
                        const std::optional<std::string>& commandLine = std::nullopt,
                        const std::optional<std::string>& environment = std::nullopt) {
    window.reset();
    host::setChosenPrinter(std::nullopt);
    if (environment) {
      ::setenv("ZELK_PRINTER", environment->c_str(), 1);
    } else {
      ::unsetenv("ZELK_PRINTER");
    }
    choices_ = std::make_unique<apps::RememberedChoices>();
    const InputMenu::DeviceLister devices = [present] { return present; };
    window = std::make_unique<RecorderWindow>(
        startWithRememberedChoices(commandLine, devices, *choices_), devices);
    keepChoices(*window, *choices_);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }

  std::unique_ptr<apps::RememberedChoices> choices_;
};

TEST_F(RememberedChoicesTest, ChoicesOfOneRunAreInForceInTheNextUnlessGoneOrOverridden) {
  const std::vector<std::string> two = {"hw one", "USB Mic"};
  const std::string injected = "Mic\nprinter=pdf:evil.pdf";
  // clang-format off
  const struct {
    const char* name;
    std::vector<std::string> devices;
    const char* input;    // the Input menu's entry picked, if any
    const char* printer;  // chosen in Printer Setup, if anything
    bool removeRecording;
    std::vector<std::string> devicesLater;
    std::optional<std::string> commandLine;  // --input of the second run
    std::optional<std::string> environment;  // ZELK_PRINTER of the second run
    std::string expectInput;
    std::string expectPrinter;  // the printer chosen for later prints; empty for none
    std::string expectStatus;
  } cases[] = {
      // name, devices, input picked, printer picked, recording removed; devices later,
      // --input, ZELK_PRINTER; input, printer and status line of the second run.
      {"kept", two, "USB Mic", "pdf:kept.pdf", false, two, {}, {},
       "device:USB Mic", "pdf:kept.pdf", kNoNote},
      {"synthetic kept though a device is there", two, "Synthetic signal", nullptr, false, two,
       {}, {}, "synthetic:1", "", kNoNote},
      {"unplugged device", two, "USB Mic", nullptr, false, {"hw one"}, {}, {},
       "default", "", "Input USB Mic is gone: using the default capture device"},
      {"no device left", two, "USB Mic", nullptr, false, {}, {}, {},
       "synthetic:1", "", "Input USB Mic is gone: using the synthetic signal"},
      {"default device with none left", two, "Default capture device", nullptr, false, {}, {}, {},
       "synthetic:1", "", kNoCaptureDevice},
      {"recording kept", two, "Recording...", nullptr, false, two, {}, {},
       "{dir}/night.wav", "", kNoNote},
      {"recording gone", two, "Recording...", nullptr, true, two, {}, {},
       "default", "", "Input {dir}/night.wav is gone: using the default capture device"},
      {"printer queue gone", two, nullptr, "Nowhere", false, two, {}, {},
       "default", "", "Printer Nowhere is gone: printing to the default printer"},
      {"both gone", two, "USB Mic", "Nowhere", false, {"hw one"}, {}, {},
       "default", "", "Input USB Mic is gone: using the default capture device; "
                      "Printer Nowhere is gone: printing to the default printer"},
      {"command line and ZELK_PRINTER win", two, "USB Mic", "pdf:kept.pdf", false, two,
       "synthetic:7", "pdf:env.pdf", "synthetic:7", "", kNoNote},
      {"a line break stays in the name", {injected}, "Mic\nprinter=pdf:evil.pdf", nullptr, false,
       {injected}, {}, {}, "device:" + injected, "", kNoNote},
  };
  // clang-format on
  // Queues are asked of a scheduler that is not there: no queue is known.
  ::setenv("CUPS_SERVER", path("no-scheduler").c_str(), 1);
  host::qt::installQueuePrinters();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path config = dir / c.name;
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string recording = path("night.wav");
    std::ofstream(recording) << "RIFF";

    RecorderWindow& first = start(c.devices);
    if (c.input != nullptr) {
      InputMenu& menu = *first.inputMenu();
      menu.refresh();
      QAction* entry = nullptr;
      for (QAction* a : menu.actions()) {
        if (a->text().remove('&') == c.input) entry = a;
      }
      ASSERT_NE(entry, nullptr) << c.input;
      if (std::string(c.input) == "Recording...") answerFileDialog(recording);
      entry->trigger();
    }
    if (c.printer != nullptr) {
      first.prompter().setPrinterChooser([p = std::string(c.printer)](QWidget*) {
        host::setChosenPrinter(p);
        return true;
      });
      first.printerSetupAction()->trigger();
    }
    if (c.removeRecording) std::filesystem::remove(recording);

    RecorderWindow& second = start(c.devicesLater, c.commandLine, c.environment);
    EXPECT_EQ(second.form().XVWaveInX1().input().toString(), withDir(c.expectInput, dir));
    EXPECT_EQ(host::chosenPrinter().value_or(""), c.expectPrinter);
    EXPECT_EQ(second.text3()->text().toStdString(), withDir(c.expectStatus, dir));
  }
  window.reset();
  host::setChosenPrinter(std::nullopt);
  ::unsetenv("ZELK_PRINTER");
}

TEST_F(RememberedChoicesTest, StationsSetInTheDialogAreThoseOfTheNextStartUnlessGivenThen) {
  RecorderWindow& first = start({});
  StationSettings settings;
  settings.list = startStations({}, *choices_);
  EXPECT_TRUE(settings.list.empty());
  auto stations = std::make_unique<WindowStations>(first, settings);
  keepStations(*stations, *choices_);
  std::string refused;
  answerNextDialog<QDialog>([&refused](QDialog& shown) {
    auto* dialog = dynamic_cast<StationsDialog*>(&shown);
    if (dialog == nullptr || !refused.empty()) return;
    QTableWidget& table = *dialog->table();
    const char* rows[][3] = {{"NAA", "24000", nullptr},
                             {"NWC", "19800", "200"},
                             {"NPM", "24100", nullptr},
                             {"GBZ", "19580", nullptr}};
    for (const auto& row : rows) {
      dialog->addButton()->click();
      for (int column = 0; column < 3; ++column) {
        if (row[column] != nullptr) table.item(table.rowCount() - 1, column)->setText(row[column]);
      }
    }
    // NPM's band overlaps NAA's: refused, the dialog stays.
    dialog->accept();
    refused = dialog->problemLabel()->text().toStdString();
    for (const int row : {3, 2}) {
      table.setCurrentCell(row, 0);
      dialog->removeButton()->click();
    }
    table.item(0, 1)->setText("24000.5");  // edited in place
    dialog->accept();
  });
  stations->dialogAction()->trigger();
  EXPECT_NE(refused.find("overlap"), std::string::npos) << refused;
  const std::vector<Station> kept = {{"NAA", 24000.5, 300}, {"NWC", 19800, 200}};
  EXPECT_EQ(stations->stations(), kept);
  EXPECT_EQ(choices_->get(kStationsChoice).value_or(""), "NAA:24000.5:300 NWC:19800:200");
  ASSERT_NE(stations->levelsLabel(), nullptr);
  EXPECT_NE(stations->levelsLabel()->text().indexOf("NWC 19.8 kHz"), -1);
  stations.reset();

  start({});
  EXPECT_EQ(startStations({}, *choices_), kept);
  const std::vector<Station> given = {{"NAU", 40750, 300}};
  EXPECT_EQ(startStations(given, *choices_), given);
  EXPECT_EQ(choices_->get(kStationsChoice).value_or(""), "NAA:24000.5:300 NWC:19800:200");
}

TEST(StationsChoiceText, KeepsAListWholeAndGivesNoneForTextThatIsNotOne) {
  const struct {
    const char* text;
    std::size_t stations;
  } cases[] = {{"NAA:24000.5:300 NWC:19800:200", 2},
               {"  NAA:24000  ", 1},
               {"", 0},
               {"NAA:24000 nonsense", 0},
               {"NAA:24000 NAA:19800", 0},
               {"A:24000 B:24100", 0},
               {"N-A:24000", 0}};
  for (const auto& c : cases) {
    const std::vector<Station> list = stationsOfChoiceText(c.text);
    EXPECT_EQ(list.size(), c.stations) << c.text;
    EXPECT_EQ(stationsOfChoiceText(stationsChoiceText(list)), list) << c.text;
  }
}

}  // namespace
}  // namespace recorder::window::testing
