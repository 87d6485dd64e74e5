#include "host/qt/color_text.h"

namespace host::qt {

QColor colorOfText(const QString& text) {
  const QString t = text.trimmed();
  if (!t.startsWith("&H", Qt::CaseInsensitive) || t.size() < 3 || t.size() > 10) return {};
  bool ok = false;
  const std::uint32_t value = t.mid(2).toUInt(&ok, 16);
  if (!ok || (value & 0xFF000000u) != 0) return {};
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

QString textOfColor(const QColor& color) {
  const std::uint32_t value = static_cast<std::uint32_t>(color.red()) |
                              static_cast<std::uint32_t>(color.green()) << 8 |
                              static_cast<std::uint32_t>(color.blue()) << 16;
  return QString("&H%1").arg(value, 8, 16, QChar('0')).toUpper();
}

}  // namespace host::qt
