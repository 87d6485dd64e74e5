#include "form_files.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#include "apps/designed_chart.h"
#include "apps/user_chart_style.h"

namespace designer {

namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) { return QFile::decodeName(path.c_str()); }

bool sameFile(const fs::path& a, const fs::path& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error;
  return fs::equivalent(a, b, error) || fs::absolute(a, error).lexically_normal() == b;
}

}  // namespace

FormFiles formFiles(const QString& path) {
  const fs::path file(QFile::encodeName(path).toStdString());
  const std::string name = file.filename().string();
  const fs::path installed = apps::designedChartFile(name);
  const fs::path user = apps::userChartStyleFile(name);
  if (user.empty() || installed.empty() || (!sameFile(file, installed) && !sameFile(file, user)))
    return {path, path, {}};
  std::error_code error;
  return {text(fs::exists(user, error) ? user : installed), text(user), text(installed)};
}

QSize formChartSize(const QString& path) {
  static const std::array<std::pair<const char*, QSize>, 2> kForms = {{
      {"zelkchart.bag", QSize(601, 257)},
      {"zelkspec.bag", QSize(105, 49)},
  }};
  const QString name = QFileInfo(path).fileName();
  for (const auto& [form, size] : kForms) {
    if (name == QLatin1String(form)) return size;
  }
  return {};
}

}  // namespace designer
