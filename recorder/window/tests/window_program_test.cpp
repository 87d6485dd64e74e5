// zelkchart itself with its window on the test's X server, and live capture through PortAudio
// from ALSA's null device in a scratch ALSA configuration written here.
#include <signal.h>
#include <stdlib.h>

#include <QImage>
#include <QProcess>
#include <fstream>

#include "window_fixture.h"
#include "xvtools/audio_source.h"

namespace recorder::window::testing {
namespace {

// PortAudio reads the ALSA configuration this names when it starts: ALSA's null device as the
// default, or a default on a sound card no machine has, leaving no capture device at all. The
// null device leaves capture buffers as it found them, so on a busy machine they can hold any
// level, even one above the chart's top; the file plugin in front of it reads silence instead.
std::filesystem::path writeAlsaConfig(const std::filesystem::path& dir, bool nullDevice) {
  const std::filesystem::path file = dir / "asound.conf";
  std::ofstream out(file);
  out << (nullDevice ? "pcm.!default {\n  type file\n  slave.pcm { type null }\n"
                       "  file \"/dev/null\"\n  infile \"/dev/zero\"\n}\n"
                     : "pcm.!default {\n  type hw\n  card 99\n}\n");
  return file;
}

class ProgramTest : public WindowTest {};

TEST_F(ProgramTest, SigtermAndSigintCloseTheWindowAsExitDoesWithStatusZero) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    const std::string shot = path("window" + std::to_string(signal) + ".png");
    QProcess program;
    program.start(ZELKCHART_PROGRAM, {"--input", "synthetic", "--start", "--screenshot",
                                      QString::fromStdString(shot)});
    ASSERT_TRUE(program.waitForStarted());
    QTest::qWait(2500);
    ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(program.processId()), signal);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    // The picture taken on the way out shows the whole window: its menu bar and the form.
    const QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 617);
    EXPECT_GT(image.height(), 392);
  }
}

TEST_F(ProgramTest, LiveCaptureFromAlsasNullDeviceRecordsThroughTheWindow) {
  ::setenv("ALSA_CONFIG_PATH", writeAlsaConfig(dir, true).c_str(), 1);
  const std::vector<std::string> devices = xvtools::captureDeviceNames();
  ASSERT_FALSE(devices.empty()) << "PortAudio sees no capture device in the scratch configuration";
  const StartInput chosen = chooseStartInput(std::nullopt, devices);
  ASSERT_EQ(chosen.input.kind, xvtools::InputSpec::Kind::DefaultDevice);
  EXPECT_TRUE(chosen.note.empty());

  RecorderWindow& w = open(chosen, devices);
  // Silence plots at the vertical position: lift it off the window's bottom edge.
  w.form().XVSpinButtonX3().setValue(8000);
  const std::vector<std::uint32_t> before = chart();
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  ASSERT_EQ(w.form().Running(), 1) << w.text3()->text().toStdString();
  EXPECT_EQ(w.form().XVWaveInX1().sourceDescription(), "default");
  ASSERT_TRUE(waitFor([&] {
    return w.form().XVWaveInX1().samplesDelivered() >= 4 * 4000 && chart() != before;
  })) << w.form().XVWaveInX1().samplesDelivered()
      << " samples delivered; status line: " << w.text3()->text().toStdString();
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  EXPECT_EQ(w.form().Running(), 0);
  EXPECT_EQ(w.form().XVWaveInX1().samplesDelivered() % 4000, 0u);
  // Whole blocks reached the form through the capture thread and were plotted; no error was
  // reported on the status line.
  EXPECT_EQ(w.text3()->text(), "Data logging NOT enabled!");
  ::unsetenv("ALSA_CONFIG_PATH");
}

TEST_F(ProgramTest, ProgramWithoutCaptureDevicesStillOpensAndRecords) {
  const std::string shot = path("nodevice.png");
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ALSA_CONFIG_PATH", QString::fromStdString(writeAlsaConfig(dir, false).string()));
  program.setProcessEnvironment(env);
  program.start(ZELKCHART_PROGRAM,
                {"--start", "--seconds", "2", "--screenshot", QString::fromStdString(shot)});
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

TEST_F(ProgramTest, ExitStatusSaysWhetherEverythingAskedForWasDone) {
  const std::string shot = path("shot.png");
  const struct {
    QStringList args;
    int status;
    const char* error;  // the line on standard error, in part
  } cases[] = {
      {{"--input", "synthetic", "--seconds", "1", "--screenshot", QString::fromStdString(shot)},
       0,
       ""},
      {{"--input", "synthetic", "--seconds", "1", "--screenshot",
        QString::fromStdString(path("no/such/folder/shot.png"))},
       1,
       "cannot write the screenshot"},
      {{"--input", QString::fromStdString(path("missing.wav")), "--seconds", "1"},
       1,
       "cannot read the input"},
      {{"--input", QString::fromStdString(dir.string()), "--seconds", "1"},
       1,
       "cannot read the input"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QProcess program;
    program.start(ZELKCHART_PROGRAM, c.args);
    ASSERT_TRUE(program.waitForFinished(20000));
    const std::string error = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.status) << error;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
}  // namespace recorder::window::testing
