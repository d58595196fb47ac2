// The common controls of the window as data: the tab strip, the status bar with its
// numbered panels, the progress bar, and the pause timer. The window's behaviour writes
// them; a toolkit binding (or a test) reads them.
#pragma once

#include <string>
#include <vector>

namespace lorvex::platform {

struct TabStrip {
  std::vector<std::string> captions;  // tab k (1-based) is captions[k - 1]
  int selected = 1;                   // number of the selected tab, 1-based
};

struct StatusPanel {
  std::string text;
  int left = 0;   // twips
  int width = 0;  // twips
};

// Panels are numbered from 1, as the window addresses them.
class StatusBar {
 public:
  explicit StatusBar(int panelCount) : panels_(static_cast<std::size_t>(panelCount)) {}
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  StatusPanel& Panel(int number) { return panels_.at(static_cast<std::size_t>(number - 1)); }
  const StatusPanel& Panel(int number) const {
    return panels_.at(static_cast<std::size_t>(number - 1));
  }

 private:
  std::vector<StatusPanel> panels_;
};

struct ProgressBar {
  int max = 100;
  int value = 0;
  // How far the step after `value` has come (0 to 1), when the build says: shown between
  // the steps, never counted in `value`.
  double within = 0;
  int left = 0;   // twips
  int width = 0;  // twips
};

// A timer with an interval; while enabled the event loop delivers a tick every interval.
struct PauseTimer {
  int intervalMs = 20;
  bool enabled = false;
};

}  // namespace lorvex::platform
