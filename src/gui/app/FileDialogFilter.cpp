#include "gui/app/FileDialogFilter.h"

#include <QRegularExpression>

namespace corvane {

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString shown = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (shown.isEmpty() || patterns.isEmpty()) continue;
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    }
    // The shown text usually repeats its patterns in brackets; Qt takes the
    // patterns from there, so they are replaced by the real ones.
    static const QRegularExpression kTrailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    shown.remove(kTrailingPatterns);
    filters << shown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

QString QtDefaultSuffix(const std::string& defaultExtension) {
  QString suffix = QString::fromStdString(defaultExtension);
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  return suffix;
}

}  // namespace corvane
