// Where everything of the parameters window sits: a box in twips (15 to the pixel) for every
// control, within its parent (a page fratabs(k), a frame, or the window's client area), and
// the texts of the pages that are no controls of the window (headings, row and column heads).
// The pages are grids of Lo/Hi pairs under their column heads, beside their row heads.
#pragma once

#include <span>
#include <string_view>

namespace lorvex::ui::qt {

// The window's client area, in twips.
inline constexpr int kClientWidth = 9495;
inline constexpr int kClientHeight = 5670;

struct TwipBox {
  int left, top, width, height;
};

// The tab strip (tabs and the panel round the pages) and the status bar, in twips.
inline constexpr TwipBox kTabStripBox{0, 600, 9495, 4095};
inline constexpr TwipBox kStatusBarBox{0, 5295, 9495, 375};

enum class TextAlign { kLeft, kCenter, kRight };

struct ControlPlace {
  const char* name;
  int index;
  const char* parentName;  // nullptr: the window's client area
  int parentIndex;
  int left, top, width, height;  // twips, within the parent
  TextAlign align;               // of a label's or check box's caption
  bool wrap;                     // the caption may run over more than one line
  bool title;                    // shown in the window's title font
};

struct PageText {
  const char* parentName;
  int parentIndex;
  const char* text;
  int left, top, width, height;  // twips, within the parent
  TextAlign align;
  bool bold;
  bool wrap;
};

std::span<const ControlPlace> ControlPlaces();
std::span<const PageText> PageTexts();
// The place of one control, or nullptr when the table has none.
const ControlPlace* FindPlace(std::string_view name, int index);

}  // namespace lorvex::ui::qt
