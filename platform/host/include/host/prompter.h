// The questions a form puts to the operator: message boxes, input boxes, the file and printer
// dialogs. The front end answers them: a window with Qt's dialogs (host/qt/qt_prompter.h), an
// unattended run from its command line (host/headless_prompter.h).
#pragma once

#include <optional>
#include <string>

namespace host {

// Message box styles and answers, with the forms runtime's values; buttons and icon are or-ed.
enum MsgBoxStyle : int {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbAbortRetryIgnore = 2,
  vbYesNoCancel = 3,
  vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16,
  vbQuestion = 32,
  vbExclamation = 48,
  vbInformation = 64,
  vbDefaultButton2 = 256,
};
enum MsgBoxResult : int {
  vbOK = 1,
  vbCancel = 2,
  vbAbort = 3,
  vbRetry = 4,
  vbIgnore = 5,
  vbYes = 6,
  vbNo = 7
};

// The buttons part and the icon part of a style.
constexpr int msgBoxButtons(int style) { return style & 0x0F; }
constexpr int msgBoxIcon(int style) { return style & 0x70; }

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows text with the buttons and icon of style; returns the button chosen.
  virtual MsgBoxResult messageBox(const std::string& text, const std::string& title, int style) = 0;
  // Asks for a line of text, proposing defaultText; nullopt when cancelled.
  virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // Lets the operator choose a file. filter is "Description|pattern|Description|pattern..."
  // (patterns separated by ';'); flags are the dialog's Flags. Returns the chosen path, or an
  // empty string for no choice.
  virtual std::string openFile(const std::string& filter, int flags) = 0;
  // Lets the operator choose and set up the printer later printing uses; false when cancelled.
  virtual bool choosePrinter() = 0;
};

}  // namespace host
