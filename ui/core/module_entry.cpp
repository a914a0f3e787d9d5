// How the host finds faxui: its function table, its description, its entry
// point, and the two hooks it calls.

#include <windows.h>

#include "addon.h"
#include "module_entry.h"
#include "dialog_help.h"
#include "doc_events.h"
#include "fax_flow.h"
#include "option_pages.h"


#ifndef DLL_PROCESS_ATTACH
#define DLL_PROCESS_ATTACH 1
#endif

namespace {

HINSTANCE g_instance = nullptr;

// The dialogs find their resources and help file through the module kept
// at attach; handed to them when the host first calls in (at attach the
// other parts of the module may not be set up yet).
void EnterModule() {
    if (DialogModule() != g_instance) SetHelpModule(g_instance);
}

int32_t FAXAPI PageHook(void* host, void* pageContext, void* image) {
    EnterModule();
    return RegisterFaxPages(host, pageContext, image, g_instance);
}

// The sixth argument points, at the start of a document, to the pointer to
// the application's document information.
int32_t FAXAPI DocumentEventHook(void* host, void* printer, void* dc, int32_t event, void*, void* docInfoRef,
                                 void*, void*) {
    EnterModule();
    return HandleDocumentEvent(static_cast<const HostDriverContext*>(host), static_cast<HANDLE>(printer),
                               static_cast<HDC>(dc), event, docInfoRef, RunFaxFlow);
}

const AddOnTable kFuncTable = {
    kAddOnTableFormat,
    static_cast<int32_t>(sizeof(AddOnTable)),
    1,
    kFaxModuleId,
    static_cast<int32_t>(sizeof(FaxDS)),
    0,
    static_cast<int32_t>(sizeof(FaxSS)),
    &DefaultFaxDS,
    nullptr,
    &DefaultFaxSS,
    {nullptr, nullptr, nullptr, nullptr, reinterpret_cast<AddOnHook>(&PageHook), nullptr, nullptr, nullptr,
     nullptr, reinterpret_cast<AddOnHook>(&DocumentEventHook), nullptr, nullptr},
};
static_assert(kHookPage == 4 && kHookDocEvent == 9, "page hook at table byte 56, document events at 76");

const char* const kModuleInfo[] = {
    "Module: Printer interface DLL static library",
    "faxui 1.0 (fax user-interface add-on, module 1388)",
    "Adds the fax option page and the information page",
    "to the printing preferences, and at print time asks",
    "for the fax recipients and confirmation.",
    "Loaded by the host printer driver in the process",
    "that prints; it starts no threads.",
    nullptr,
};

}  // namespace

extern "C" {

const AddOnTable* FAXAPI GetFuncTable(void) { return &kFuncTable; }

const char* const* FAXAPI ModuleInfo(void) { return kModuleInfo; }

BOOL WINAPI DllInitialize(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}

}  // extern "C"

#if defined(_WIN32)
// The runtime's start-up calls this once it is ready; the module's own
// entry point takes it from there.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return DllInitialize(instance, reason, reserved);
}
#else
#include <dlfcn.h>
namespace {
// A shared object has no entry point of its own: attach when loaded, with
// the load address as the module handle, as the platform layer names it.
__attribute__((constructor)) void AttachModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&AttachModule), &info) && info.dli_fbase)
        DllInitialize(static_cast<HINSTANCE>(info.dli_fbase), DLL_PROCESS_ATTACH, nullptr);
}
}  // namespace
#endif
