// The procedures faxui exports are called only by name, from the host or
// through GetProcAddress; naming them here makes the linker take them from
// the ui libraries. Keep in step with faxui.def and faxui.map.
#include "comm_dialog.h"
#include "entry_dialogs.h"
#include "fax_prompt.h"
#include "group_dialogs.h"
#include "module_entry.h"
#include "phonebook_dialog.h"
#include "recipient_dialog.h"

extern "C" __attribute__((used)) const void* const faxuiExportedProcedures[] = {
    reinterpret_cast<const void*>(&CommDlgProc),
    reinterpret_cast<const void*>(&ShowDBInfoDlgProc),
    reinterpret_cast<const void*>(&EditDBInfoDlgProc),
    reinterpret_cast<const void*>(&NewEntryDlgProc),
    reinterpret_cast<const void*>(&EditDBGrpDlgProc),
    reinterpret_cast<const void*>(&ShowDBGrpDlgProc),
    reinterpret_cast<const void*>(&FaxPromptDlgProc),
    reinterpret_cast<const void*>(&GetFuncTable),
    reinterpret_cast<const void*>(&ModuleInfo),
    reinterpret_cast<const void*>(&DllInitialize),
    reinterpret_cast<const void*>(&PhonebookDlgProc),
    reinterpret_cast<const void*>(&RecipientDlgProc),
};
