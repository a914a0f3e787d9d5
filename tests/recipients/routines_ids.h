#pragma once
#ifndef RC_INVOKED
#include "windows.h"
#else
#include <windows.h>
#endif
#define IDD_ROUTINES 300
#define IDC_SEARCH 606
#define IDC_NAME 700
#define IDC_FAX 701
#define IDC_DIGITS 702
#define IDC_LIST 601
#define IDS_HELPFILE 700
