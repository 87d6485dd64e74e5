// The file and printer dialog a form keeps: Filter and Flags set beforehand, ShowOpen and
// ShowPrinter put the question to the operator through the front end's Prompter, FileName and
// FileTitle hold the answer.
#pragma once

#include <string>

#include "host/prompter.h"

namespace host {

class CommonDialog {
 public:
  // Flags bits.
  static constexpr int cdlOFNReadOnly = 0x1;
  static constexpr int cdlOFNOverwritePrompt = 0x2;
  static constexpr int cdlOFNHideReadOnly = 0x4;
  static constexpr int cdlOFNPathMustExist = 0x800;
  static constexpr int cdlOFNFileMustExist = 0x1000;  // 4096: the chosen file must exist
  static constexpr int cdlOFNCreatePrompt = 0x2000;

  explicit CommonDialog(Prompter& prompter);

  const std::string& Filter() const { return filter_; }
  void setFilter(std::string filter);
  int Flags() const { return flags_; }
  void setFlags(int flags);
  const std::string& FileName() const { return fileName_; }
  void setFileName(std::string name);  // also updates FileTitle
  // The chosen file's name without its folder.
  const std::string& FileTitle() const { return fileTitle_; }

  // Returns after the choice. FileName becomes the chosen file's full path, or empty for no
  // choice; with cdlOFNFileMustExist (or cdlOFNPathMustExist) a file (folder) that does not
  // exist counts as no choice.
  void ShowOpen();
  // Returns whether a printer was chosen.
  bool ShowPrinter();

 private:
  Prompter& prompter_;
  std::string filter_;
  int flags_ = 0;
  std::string fileName_;
  std::string fileTitle_;
};

}  // namespace host
