// The pages' help: a short HTML page per help context, installed with the program.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace designer {

// The help page of a context, empty when none is installed.
QString helpPageFile(std::int32_t context);

// Shows the page in parent's help window, opened for it when it has none; false when there is no
// page (an open help window stays as it was).
bool showHelpPage(QWidget* parent, std::int32_t context, const QString& title);
// Whether parent has its help window open.
bool helpShown(QWidget* parent);

}  // namespace designer
