#include "host/common_dialog.h"

#include <filesystem>
#include <system_error>

namespace host {

namespace fs = std::filesystem;

CommonDialog::CommonDialog(Prompter& prompter) : prompter_(prompter) {}

void CommonDialog::setFilter(std::string filter) { filter_ = std::move(filter); }

void CommonDialog::setFlags(int flags) { flags_ = flags; }

void CommonDialog::setFileName(std::string name) {
  fileName_ = std::move(name);
  fileTitle_ = fileName_.empty() ? std::string() : fs::path(fileName_).filename().string();
}

void CommonDialog::ShowOpen() {
  std::string chosen = prompter_.openFile(filter_, flags_);
  if (chosen.empty()) {
    setFileName({});
    return;
  }
  std::error_code ec;
  fs::path path = fs::absolute(fs::path(chosen), ec);
  if (ec) path = fs::path(chosen);
  path = path.lexically_normal();
  const bool mustExist = (flags_ & cdlOFNFileMustExist) != 0;
  const bool folderMustExist = mustExist || (flags_ & cdlOFNPathMustExist) != 0;
  if (mustExist && !fs::is_regular_file(path, ec)) {
    setFileName({});
    return;
  }
  if (folderMustExist && !fs::is_directory(path.parent_path(), ec)) {
    setFileName({});
    return;
  }
  setFileName(path.string());
}

bool CommonDialog::ShowPrinter() { return prompter_.choosePrinter(); }

}  // namespace host
