#include "ui/qt/file_filter.h"

namespace lorvex::ui::qt {

QStringList ToQtNameFilters(std::string_view filter) {
  const QStringList parts = QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()))
                                .split(QLatin1Char('|'));
  QStringList nameFilters;
  // Pairs of description and patterns; a description without patterns is left out.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (patterns.isEmpty()) continue;
    const QString patternList = patterns.join(QLatin1Char(' ')).simplified();
    // Qt reads the patterns from the description's last parentheses: a description that
    // already ends with them is kept as it is.
    const QString ending = QStringLiteral("(") + patternList + QStringLiteral(")");
    if (description.endsWith(ending))
      nameFilters << description;
    else if (description.isEmpty())
      nameFilters << ending;
    else
      nameFilters << description + QLatin1Char(' ') + ending;
  }
  return nameFilters;
}

}  // namespace lorvex::ui::qt
