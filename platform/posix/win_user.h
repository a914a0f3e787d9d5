#pragma once
// The user side of the subset: windows and dialogs, their controls,
// resources, message boxes and help, the common file dialogs, property
// sheets and the little painting the dialogs do. One header per purpose,
// as the implementation is split into user/, comctl/ and gdi/.
#include "win_window.h"
#include "win_dialog.h"
#include "win_controls.h"
#include "win_listbox.h"
#include "win_propsheet.h"
#include "win_resource.h"
#include "win_msgbox.h"
#include "win_comdlg.h"
#include "win_gdi.h"
