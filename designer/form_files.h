// Where the designer reads and writes a form's chart. A program's installed form is shared by
// every user and read-only for them: it is edited as the user's own chart style instead, which
// the program lays over the form's set-up.
#pragma once

#include <QSize>
#include <QString>

namespace designer {

struct FormFiles {
  QString read;       // what is opened: the user's style when there is one
  QString write;      // where Save writes
  QString installed;  // the installed form the user's style stands for; empty for other files
};

// For the file the user names: an installed form (or the user's style of one) is read from the
// user's style when it exists, else from the installed form, and written to the user's style;
// any other file is read and written where it is.
FormFiles formFiles(const QString& path);

// The size the program shows the form's chart at; empty for a file that is no program's form.
QSize formChartSize(const QString& path);

}  // namespace designer
