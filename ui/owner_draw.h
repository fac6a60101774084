// Painting of every owner-drawn button, label, list item and subclassed
// check box with its bilingual caption.
#pragma once
#include <windows.h>

#include "render/screen_scale.h"
#include "ui/captions.h"

// The check boxes' standard button procedure, kept by the wizard when it
// subclasses its four check boxes (all four share it).
extern WNDPROC PreviousCheckBoxProc;

// An owner-drawn button or label of a dialog whose captions are in captions.
void DrawOwnerControl(const DRAWITEMSTRUCT* item, const CaptionTable& captions);
// The item's text comes from its item data, never from the control: the
// licence list holds the address of a line the wizard keeps, the language box
// the id of a LanguageList entry.
void DrawListItem(int controlId, int isCombo, const DRAWITEMSTRUCT* item, HWND dialog);
void PaintCheckBox(HWND checkBox, HDC dc);
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The same for a box subclassed as a Unicode window.
LRESULT CALLBACK WideCheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Gives a check box the painter's procedure and keeps the one it replaces in
// PreviousCheckBoxProc. On the NT family as a Unicode window: a message that
// passes through an ANSI procedure has its text converted through the
// system's code page, and a screen reader asking for the box's caption would
// hear "?" for every Chinese character.
void SubclassCheckBox(HWND box);

// WM_MEASUREITEM of the licence list and the language combo box:
// 23 high at 96 dpi, scaled with dpi, 1024 wide. Returns 1 when it answered,
// 0 for any other control.
int MeasureListItem(int controlId, MEASUREITEMSTRUCT* measure, int dpi = BaseDpi);

// --- Pure parts of the painter, also used by the tests ---
// Their sizes in pixels are those of 96 dpi, scaled with dpi.

// The height the language box's selection field needs for an item in
// Chinese cells of cellSize pixels with its insets; 0 for the atlas's cells,
// with which the field keeps the height the system gives it.
int SelectionFieldHeight(int cellSize, int dpi);

// Top-left corner of a caption of the given extent inside an item rectangle.
POINT CaptionOrigin(const RECT& item, SIZE caption, int centred, int pressed, int dpi = BaseDpi);
// A push button's focus rectangle: inset by a tenth of the width, an eighth of the height.
RECT ButtonFocusRect(const RECT& item);

struct CheckBoxGeometry {
    RECT Fill;      // client rectangle grown by 2 on every side
    RECT Box;       // the DrawFrameControl box
    POINT Caption;  // top-left corner of the caption
};
CheckBoxGeometry CheckBoxLayout(int clientWidth, int clientHeight, int dpi = BaseDpi);
RECT CheckBoxFocusRect(POINT caption, SIZE extent, int dpi = BaseDpi);

// Window texts are read whole into a buffer of this size (a message with a
// full path in it is longer than a caption buffer).
constexpr int ControlTextSize = 520;
// The longest prefix of text[0..length) that does not end inside a
// double-byte character (MixedText rules).
int WholeCharacterLength(const char* text, int length);
// Reads a control's window text into buffer (size bytes, always terminated);
// a text cut by the buffer loses a trailing half character. Returns the length.
int ReadControlText(HWND control, char* buffer, int size);
