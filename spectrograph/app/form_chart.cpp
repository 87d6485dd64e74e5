#include "form_chart.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "forms_folder.h"

namespace spectrograph::app {

std::string readFormBag() {
  for (const auto& folder : zelk::formsFolders()) {
    std::ifstream in(folder / "zelkspec.bag", std::ios::binary);
    if (!in) continue;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  return {};
}

}  // namespace spectrograph::app
