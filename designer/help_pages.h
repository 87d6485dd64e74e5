// The pages' help: a short HTML page per help context, installed with the program.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace designer {

// The help page of a context, empty when none is installed.
QString helpPageFile(std::int32_t context);

// Shows the page in a window of its own; false when there is none.
bool showHelpPage(QWidget* parent, std::int32_t context, const QString& title);

}  // namespace designer
