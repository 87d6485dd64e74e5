#include "bag_file.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>

namespace designer {

std::optional<automation::Guid> bagClass(std::string_view bag) {
  constexpr std::string_view kHeading = "[Class ";
  const std::size_t start = bag.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || bag.substr(start, kHeading.size()) != kHeading)
    return std::nullopt;
  const std::size_t open = start + kHeading.size();
  const std::size_t close = bag.find(']', open);
  if (close == std::string_view::npos) return std::nullopt;
  return automation::Guid::parse(std::string(bag.substr(open, close - open)));
}

std::optional<std::string> readBagFile(const QString& path, QString* reason) {
  const auto fail = [reason](const QString& why) -> std::optional<std::string> {
    if (reason != nullptr) *reason = why;
    return std::nullopt;
  };
  // Opening a FIFO for reading waits for a writer: the window would hang on it.
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) return fail(QObject::tr("it is not a regular file"));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
  // Read one byte past the limit: a file that grows while it is read is caught as well.
  const QByteArray bytes = file.read(kMaxBagFileBytes + 1);
  if (file.error() != QFileDevice::NoError) return fail(file.errorString());
  if (bytes.size() > kMaxBagFileBytes) {
    return fail(QObject::tr("it is larger than %1 MiB, too large for a chart's settings")
                    .arg(kMaxBagFileBytes / (1024 * 1024)));
  }
  return bytes.toStdString();
}

bool writeBagFile(const QString& path, const std::string& bag, QString& reason) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bag.data(), static_cast<qint64>(bag.size())) != static_cast<qint64>(bag.size()) ||
      !file.commit()) {
    reason = file.errorString();
    return false;
  }
  return true;
}

}  // namespace designer
