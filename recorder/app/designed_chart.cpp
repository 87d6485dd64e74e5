#include "designed_chart.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "forms_folder.h"

namespace recorder::app {

std::filesystem::path designedChartFile() { return zelk::formFile("zelkchart.bag"); }

std::optional<std::string> readDesignedChart(const std::filesystem::path& file) {
  if (file.empty()) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) return std::nullopt;
  return text.str();
}

}  // namespace recorder::app
