// The common file dialog's filter, "Description|pattern;pattern|Description|pattern", in
// Qt's form: one name filter "Description (pattern pattern)" per pair.
#pragma once

#include <QStringList>
#include <string_view>

namespace lorvex::ui::qt {

QStringList ToQtNameFilters(std::string_view filter);

}  // namespace lorvex::ui::qt
