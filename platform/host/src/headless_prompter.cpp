#include "host/headless_prompter.h"

#include <cstdio>

namespace host {

MsgBoxResult defaultButton(int style) {
  static const MsgBoxResult kButtons[][3] = {
      {vbOK, vbOK, vbOK},      {vbOK, vbCancel, vbCancel}, {vbAbort, vbRetry, vbIgnore},
      {vbYes, vbNo, vbCancel}, {vbYes, vbNo, vbNo},        {vbRetry, vbCancel, vbCancel}};
  int set = msgBoxButtons(style);
  if (set > 5) set = 0;
  const int which = (style & 0x300) >> 8;
  return kButtons[set][which > 2 ? 0 : which];
}

MsgBoxResult HeadlessPrompter::messageBox(const std::string& text, const std::string& title,
                                          int style) {
  ++messagesShown_;
  if (program_.empty()) {
    std::fprintf(stderr, "\n%s: %s\n", title.c_str(), text.c_str());
  } else {
    std::fprintf(stderr, "%s: %s\n", program_.c_str(), text.c_str());
  }
  return defaultButton(style);
}

std::optional<std::string> HeadlessPrompter::inputBox(const std::string&, const std::string&,
                                                      const std::string&) {
  if (inputs_.empty()) return std::nullopt;
  std::string answer = inputs_.front();
  inputs_.pop_front();
  return answer;
}

std::string HeadlessPrompter::openFile(const std::string&, int) {
  if (files_.empty()) return {};
  std::string answer = files_.front();
  files_.pop_front();
  return answer;
}

}  // namespace host
