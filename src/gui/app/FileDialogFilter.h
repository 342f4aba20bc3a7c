#pragma once
// File dialog filters are written the way the operator has always seen them:
// "Packages (*.ipc)|*.ipc|All Files (*.*)|*.*||", pairs of a shown text and
// its patterns. Qt wants one "Text (patterns)" entry per pair.

#include <QStringList>
#include <string>

namespace corvane {

// One Qt name filter per complete pair, in order. Patterns separated by ";"
// become space separated, and "*.*" becomes "*" so that files without an
// extension are listed too, as "All Files" promises.
QStringList QtNameFilters(const std::string& filter);

// "ipc" for ".ipc": Qt's default suffix carries no dot.
QString QtDefaultSuffix(const std::string& defaultExtension);

}  // namespace corvane
