#include "params/parameter_window.h"

#include <iterator>

namespace lorvex::params {

ParameterWindow::ParameterWindow(std::int32_t mapWidth, std::int32_t mapHeight)
    : width(mapWidth), height(mapHeight) {
  tabs.captions.assign(std::begin(kTabCaptions), std::end(kTabCaptions));
  form.RefreshDerivedFigures();
  form.SelectFirstItems();
}

}  // namespace lorvex::params
