#pragma once
#ifndef RC_INVOKED
#include "windows.h"
#else
#include <windows.h>
#endif
// A starting dialog of the tests' own: the import button, the hidden
// completion controls and, in one of them, the recipient list 1008.
#define IDD_STARTER_LIST 201
#define IDD_STARTER_BOOK 202
#define IDC_STARTER_IMPORT 1018
#define IDC_STARTER_NAMES 1022
#define IDC_STARTER_FULL 1028
#define IDC_STARTER_RECIPIENTS 1008
