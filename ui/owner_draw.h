// Painting of every owner-drawn button, label, list item and subclassed
// check box with its bilingual caption.
#pragma once
#include <windows.h>

// The check boxes' standard button procedure, kept by the wizard when it
// subclasses 1004, 1005, 1007 and 1008 (all four share it).
extern WNDPROC PreviousCheckBoxProc;

void DrawOwnerControl(const DRAWITEMSTRUCT* item);
void DrawListItem(int controlId, int isCombo, const DRAWITEMSTRUCT* item, HWND dialog);
void PaintCheckBox(HWND checkBox, HDC dc);
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_MEASUREITEM of the licence list (1019) and the language combo box (1031):
// 23 high, 1024 wide. Returns 1 when it answered, 0 for any other control.
int MeasureListItem(int controlId, MEASUREITEMSTRUCT* measure);
