// Colours between the pages' "&H00BBGGRR" text and the colour dialog's colours.
#pragma once

#include <QColor>
#include <QString>

namespace host::qt {

// The RGB colour of a text; invalid for system colours (&H80...) and texts that are no colour.
QColor colorOfText(const QString& text);
// "&H00BBGGRR", upper-case, with leading zeros.
QString textOfColor(const QColor& color);

}  // namespace host::qt
