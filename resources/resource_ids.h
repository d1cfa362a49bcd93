// Numbers of the plugin's resources: the dialog templates, the default logo
// and the controls of each template. Read by the resource compiler as well
// as by the code, hence plain macros.
#pragma once

// Templates and bitmaps.
#define IDD_PANEL 101
#define IDB_DEFAULT_LOGO 106
#define IDD_README 107
#define IDD_PREFERENCES 108
#define IDD_STREAM_EDITOR 109

// Panel.
#define IDC_STREAM_LIST 1001
#define IDC_OPTIONS_BUTTON 1002
#define IDC_README_BUTTON 1003
#define IDC_SEARCH_MODE 1005
#define IDC_SEARCH_EDIT 1006

// Readme window.
#define IDC_README_TEXT 1012
#define IDC_README_OK 1025

// Preferences.
#define IDC_LIST_NAME 1012
#define IDC_PREFERENCES_LIST 1013
#define IDC_ADD_BUTTON 1014
#define IDC_DELETE_BUTTON 1015
#define IDC_EDIT_BUTTON 1016
#define IDC_MOVE_UP_BUTTON 1017
#define IDC_MOVE_DOWN_BUTTON 1018
#define IDC_IMPORT_BUTTON 1019
#define IDC_MERGE_BUTTON 1020
#define IDC_SAVE_BUTTON 1021
#define IDC_PLAY_AT_ONCE 1022
#define IDC_ENQUEUE 1023
#define IDC_SAVE_AND_CLOSE 1024
#define IDC_RED_ICONS 1044
#define IDC_OPEN_WEB 1045

// Stream editor.
#define IDC_EDITOR_SAVE 1026
#define IDC_EDITOR_CANCEL 1027
#define IDC_EDITOR_NAME 1028
#define IDC_EDITOR_ADDRESS 1029
#define IDC_EDITOR_RADIO 1030
#define IDC_EDITOR_TV 1031
#define IDC_EDITOR_WEBSITE 1032
#define IDC_EDITOR_PODCAST 1033
#define IDC_EDITOR_PLAYLIST 1034
#define IDC_EDITOR_SLOGAN 1035
#define IDC_EDITOR_KEYWORDS 1036
#define IDC_EDITOR_FORMAT 1037
#define IDC_EDITOR_QUALITY 1038
#define IDC_EDITOR_CHANGE_LOGO 1039
#define IDC_EDITOR_COLOUR 1040
#define IDC_EDITOR_LOGO_MARKER 1042
