#pragma once
#ifndef RC_INVOKED
#include "windows.h"
#else
#include <windows.h>
#endif
#define IDD_FILL 400
#define IDC_FILL_LIST 601
