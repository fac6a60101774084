// Numeric ids of the installer's dialogs, controls, icon and TEXT resources.
// They are part of the resource data and fixed; this header is shared by the
// resource scripts and the code.
#pragma once

// Dialog templates and the icon.
#define IDD_MESSAGE_DIALOG   112
#define IDD_WIZARD           113
// The wizard's caption: a second start finds the first one's window by it.
#define WIZARD_TITLE         "Tarvo Chinese Input Engine Installer"
#define IDD_FOLDER_BROWSER   168
#define IDI_INSTALLER        166

// TEXT resources read directly (besides being installed).
#define IDR_GLYPH_ATLAS      110
#define IDR_LICENCE_CN       163
#define IDR_LICENCE_EN       164
// TEXT resource read directly and never installed: the larger Chinese glyphs
// (render/large_glyphs.h).
#define IDR_LARGE_GLYPHS     117

// Wizard (dialog 113).
#define IDC_BACK             3
#define IDC_NEXT             1001
#define IDC_DEST_EDIT        1002
#define IDC_BROWSE           1003
#define IDC_DESKTOP_ICONS    1004
#define IDC_AUTO_START       1005
#define IDC_PATH_LABEL       1006
#define IDC_DISPLAY_OK       1007
#define IDC_DISPLAY_NO       1008
#define IDC_TITLE_LINE1      1009
#define IDC_ENGLISH_LICENCE  1010
#define IDC_TITLE_LINE2      1011
#define IDC_TITLE_LINE3      1012
#define IDC_LICENCE_EN       1014
#define IDC_SAMPLE_FRAME     1015
#define IDC_DISPLAY_QUESTION 1017
#define IDC_SAMPLE_LINE      1018
#define IDC_LICENCE_CN       1019
#define IDC_LEFT_LABEL       1020
#define IDC_WAIT_LABEL       1021
#define IDC_PROGRESS         1026
#define IDC_LANGUAGE_LABEL   1030
#define IDC_LANGUAGE_COMBO   1031
#define IDC_PRODUCT_NAME     167
#define IDC_PRODUCT_ICON     102
#define IDC_SEPARATOR        108
#define IDC_INSTALLER_WORD   169
#define IDC_WEB_ADDRESS      172

// Message dialog (dialog 112).
#define IDC_MSG_CHINESE      1013
#define IDC_MSG_ENGLISH      1028

// Folder browser (dialog 168): two owner-drawn labels over the classic ids.
#define IDC_BROWSER_DIRS_LABEL   1008
#define IDC_BROWSER_DRIVES_LABEL 1010
