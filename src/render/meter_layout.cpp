// The meter's sizes at one DPI, from the sizes it has at 96.
#include "render/meter_layout.h"

#include <algorithm>

namespace {

constexpr int32_t kWindowWidth = 180;
constexpr int32_t kWindowHeight = 120;
constexpr int32_t kPanelX = 9;
constexpr int32_t kPanelY = 10;
constexpr int32_t kPointsPerInch = 72;
constexpr LayoutRect kConfigureButton{132, 25, 40, 30};
constexpr LayoutRect kExitButton{132, 70, 40, 30};
constexpr int32_t kMenuOffset = 15;

int32_t UsableDpi(int32_t dpi) {
  return std::clamp(dpi, kLowestDpi, kHighestDpi);
}

LayoutRect Scaled(const MeterLayout& layout, const LayoutRect& rect) {
  return LayoutRect{layout.Scale(rect.x), layout.Scale(rect.y), layout.Scale(rect.width),
                    layout.Scale(rect.height)};
}

}  // namespace

int32_t ScaleForDpi(int32_t length, int32_t dpi) {
  const int64_t scaled = int64_t(length) * UsableDpi(dpi);
  const int64_t half = kBaseDpi / 2;
  const int64_t rounded = scaled >= 0 ? (scaled + half) / kBaseDpi : -((-scaled + half) / kBaseDpi);
  return int32_t(std::clamp<int64_t>(rounded, INT32_MIN, INT32_MAX));
}

MeterLayout LayoutForDpi(int32_t dpi, int32_t graphColumns, int32_t graphHeight) {
  MeterLayout layout = {};
  layout.dpi = UsableDpi(dpi);
  layout.windowWidth = layout.Scale(kWindowWidth);
  layout.windowHeight = layout.Scale(kWindowHeight);
  layout.panelX = layout.Scale(kPanelX);
  layout.panelY = layout.Scale(kPanelY);
  layout.panelWidth = layout.Scale(std::max(graphColumns, 0));
  layout.panelHeight = layout.Scale(std::max(graphHeight, 0));
  layout.lineWidth = std::max(1, layout.Scale(1));
  // As a dialog's point font: MulDiv rounds the same way.
  const int64_t tenthsPerInch = int64_t(kPointsPerInch) * 10;
  layout.fontHeight =
      -int32_t((int64_t(kGraphFontTenthsOfPoint) * layout.dpi + tenthsPerInch / 2) / tenthsPerInch);
  layout.configureButton = Scaled(layout, kConfigureButton);
  layout.exitButton = Scaled(layout, kExitButton);
  layout.menuOffset = layout.Scale(kMenuOffset);
  return layout;
}
