// Where the panel's controls go for a given client size.
#pragma once

struct LayoutRect {
    int x;
    int y;
    int width;
    int height;
};

struct PanelLayout {
    LayoutRect list;
    LayoutRect banner;
    LayoutRect readmeButton;
    LayoutRect optionsButton;
    LayoutRect searchMode;
    LayoutRect searchEdit;
};

// Width and height are the client size; sizes below the fixed parts give
// zero or negative list heights and edit widths, which hide those controls.
PanelLayout LayOutPanel(int width, int height);
