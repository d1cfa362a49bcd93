#include "panel/portable/panel_layout.h"

namespace {
constexpr int kMargin = 4;
constexpr int kBarHeight = 20;
constexpr int kButtonWidth = 50;
constexpr int kComboWidth = 90;
constexpr int kBannerWidth = 300;
constexpr int kBannerHeight = 250;
}  // namespace

PanelLayout LayOutPanel(int width, int height) {
    PanelLayout l;
    l.list = {0, 2 * kMargin + kBarHeight, width, height - 2 * kMargin - kBarHeight - kBannerHeight - 8};
    l.banner = {width / 2 - kBannerWidth / 2, height - kBannerHeight - 4, kBannerWidth, kBannerHeight};
    l.readmeButton = {kMargin, kMargin, kButtonWidth, kBarHeight};
    l.optionsButton = {kButtonWidth + 2 * kMargin, kMargin, kButtonWidth, kBarHeight};
    l.searchMode = {3 * kMargin + 2 * kButtonWidth, kMargin, kComboWidth, kBarHeight};
    l.searchEdit = {kComboWidth + 4 * kMargin + 2 * kButtonWidth, kMargin,
                    width - 2 * (kButtonWidth + 2 * kMargin) - kComboWidth - 10, kBarHeight};
    return l;
}
