#include "designed_chart.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace recorder::app {

std::filesystem::path designedChartFile() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return self.parent_path() / "forms" / "zelkchart.bag";
}

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
