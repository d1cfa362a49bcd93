// The read-only window that shows "readme.txt" from the plugin folder.
#pragma once

#include "resources/resource_ids.h"
#include "ui/framework/dialog.h"


class CInfo : public CDialog {
public:
    CInfo();
    ~CInfo() override;

    // Reads folder + file name into edit 1012; 1 when read, 0 when it cannot be opened.
    int LoadReadme(const char* folder, const char* fileName);

    // Shown, the text is at its top with nothing selected, every time.
    int Show(int showCommand) override;
    int OnClose() override;
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
};
