// kvplotax-designer FILE.bag: edits the chart control's designed settings in a property-bag file
// through the control's property pages, with the control live beside them.
#include <QApplication>
#include <cstdio>

#include "designer_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kvplotax-designer"));
  const QStringList args = QApplication::arguments();
  if (args.size() > 2 || (args.size() == 2 && args[1].startsWith('-'))) {
    std::fprintf(stderr, "usage: kvplotax-designer [FILE.bag]\n");
    return 2;
  }
  designer::DesignerWindow window;
  if (args.size() == 2 && !window.openFile(args[1])) return 1;
  window.show();
  return QApplication::exec();
}
