// kvplotax-designer FILE.bag: edits the chart control's designed settings in a property-bag file
// through the control's property pages, with the control live beside them.
#include <QApplication>
#include <QFile>
#include <string>
#include <vector>

#include "apps/command_line.h"
#include "apps/display.h"
#include "apps/qt/quit_on_stop_signals.h"
#include "designer_window.h"

namespace {

const char kUsage[] =
    "Usage: kvplotax-designer [FILE.bag]\n"
    "\n"
    "Edits a chart's designed settings, kept in a property-bag file, on the chart control's\n"
    "property pages, with the control live beside them. Without FILE.bag it starts a new chart.\n"
    "\n"
    "  --help, --version\n";

}  // namespace

int main(int argc, char** argv) {
  const apps::Program program{"kvplotax-designer", ZELK_VERSION, kUsage};
  apps::CommonOptions options;
  std::vector<std::string> files;
  apps::ParsedLine line = apps::parseOptions({argv + 1, argv + argc}, options, {}, &files);
  if (line.error.empty() && files.size() > 1) line.error = "one FILE.bag at a time";
  if (const auto done = apps::answerBeforeRun(program, options, line)) return apps::finish(*done);
  if (const auto done = apps::refuseWithoutDisplay(program, false)) return apps::finish(*done);
  apps::qt::quitOnStopSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kvplotax-designer"));
  QApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
  designer::DesignerWindow window;
  if (!files.empty() && !window.openFile(QFile::decodeName(files.front().c_str()))) return 1;
  window.show();
  return QApplication::exec();
}
