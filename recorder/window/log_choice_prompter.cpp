#include "log_choice_prompter.h"

#include <sys/stat.h>

#include "host/common_dialog.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::window {

std::string LogChoicePrompter::openFile(const std::string& filter, int flags) {
  if (!choosingLog_) return dialogs_.openFile(filter, flags);
  // A log may be a new file, whatever an earlier playback's dialog asked for.
  flags &= ~host::CommonDialog::cdlOFNFileMustExist;
  for (;;) {
    const std::string path = dialogs_.openFile(filter, flags);
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size == 0)
      return path;
    const std::string question = path + " already holds " + std::to_string(status.st_size) +
                                 " bytes.\nLogging starts the file afresh: everything in it "
                                 "is lost.\n\nEmpty it and log to it?";
    if (dialogs_.messageBox(question, kFormCaption,
                            host::vbYesNo | host::vbExclamation | host::vbDefaultButton2) ==
        host::vbYes)
      return path;
    // No: the operator chooses again, or cancels the dialog to record without a log.
  }
}

}  // namespace recorder::window
