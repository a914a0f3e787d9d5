#pragma once
// The etched separator bands some dialogs paint across their full width.

#include <windows.h>

#include <initializer_list>

// Paints bitmap 103 of the dialog's module (a grey row over a white row)
// as 5-pixel bands whose top edges lie at the given ninths of the client
// height. Answers the whole WM_PAINT.
void PaintEtchedBands(HWND dialog, std::initializer_list<int> ninths);
