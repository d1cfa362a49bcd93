// Shared set-up for tests of the catalogue: a real owner-drawn list box in a
// hidden top-level window, attached to a CListView, and records to fill it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/list_view.h"
#include "catalogue/portable/stream_record.h"

// A zero-filled heap record (released by the catalogue with delete) named
// `name`, with address "http://example.org/<name>".
StreamRecord* MakeRecord(const char* name, int kind = 0, const char* keywords = "");

// Creates the hidden parent and the list box (LBS_OWNERDRAWFIXED | LBS_NOTIFY |
// LBS_NOINTEGRALHEIGHT, no strings, WS_VSCROLL), a virtual one (LBS_NODATA)
// as in the panel unless `virtualList` is false. Returns the list box.
HWND CreateCatalogueListBox(HWND* parentOut, bool virtualList = true);

// The names of the view's rows, in row order.
std::vector<std::string> ViewNames(const CListView& view);

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds MakeRecord(name, kind, keywords) to the catalogue; returns AddStream's result.
    int Add(const char* name, int kind = 0, const char* keywords = "");

    HWND parent = nullptr;
    HWND list = nullptr;
    CListView view;
};
