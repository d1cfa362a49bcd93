// The read-only window that shows "readme.txt" from the plugin folder.
#pragma once

#include "ui/framework/wnd.h"

constexpr int kReadmeTemplate = 107;

class CInfo : public CDialog {
public:
    CInfo();
};
