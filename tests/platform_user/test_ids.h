#pragma once
#ifndef RC_INVOKED
#include "windows.h"
#else
#include <windows.h>
#endif
#define IDS_HELLO 1
#define IDS_SECOND 2
#define IDS_LATE 700
#define IDD_TEST 101
#define IDD_PLAIN 102
#define IDC_EDIT 1001
#define IDC_NUMBER 1002
#define IDC_MEMO 1003
#define IDC_SORTED 1004
#define IDC_MULTI 1005
#define IDC_COMBO 1006
#define IDC_CHECK 1007
#define IDC_RADIO1 1008
#define IDC_RADIO2 1009
#define IDC_RADIO3 1010
#define IDC_NESTED 1011
#define IDC_LABEL 1012
#define IDD_PAGE1 103
#define IDD_PAGE2 104
#define IDC_P1EDIT 1101
#define IDC_P1VALID 1102
#define IDC_P2CHECK 1103
