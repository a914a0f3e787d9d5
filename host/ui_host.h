#pragma once
// The host's user-interface side for the fax user-interface add-on: the
// services its pages call, the page and sheet contexts they read, and a
// property sheet around the pages it registers.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host_pages.h"
#include "module_loader.h"
#include "settings_image.h"

struct HostUiCalls {
    int pageMessages = 0;     // page message service calls
    int hintWindows = 0;      // hint windows created
    int commits = 0;          // commit service calls
    int changeCallbacks = 0;  // change callback calls (user data, 9, 0, 1)
    HWND hint = nullptr;      // the hint window created last
};

class HostUi {
public:
    // A host context with this host's services and one control block for
    // the module, whose blocks are reserved in 'image'.
    HostUi(const AddonModule& module, SettingsImage& image);
    ~HostUi();
    HostUi(const HostUi&) = delete;
    HostUi& operator=(const HostUi&) = delete;

    HostDriverContext* driver() { return context_.get(); }
    AddonMCB& block() { return context_.block(0); }
    SettingsImage& image() { return image_; }

    // Calls the module's page hook and shows the printing-preferences pages
    // it registered in a modal property sheet. Returns the sheet's result
    // (> 0 when applied), -1 when the module registered no page.
    INT_PTR ShowPreferences(HWND owner = nullptr);
    // Hosts that keep the job's image in a sheet block of their own attach
    // it to each page as the property "SW_UI_PS" before the page starts
    // (the block is the caller's; null for none).
    void AttachSheetBlock(HGLOBAL block) { sheetBlock_ = block; }
    // Template ids of the pages registered at the last page-hook call.
    std::vector<int> RegisteredTemplates() const;
    // The image as the pages' apply copied it out (the host's output
    // buffer); the original until a page applied.
    const std::vector<uint8_t>& AppliedImage() const { return applied_; }
    const HostUiCalls& calls() const { return calls_; }

    // Host services, reached from the module through the context.
    static HostUi* From(const void* sheetOrPage);

private:
    struct Page {
        HostPageContext context;
        const PageEntry* entry;
        HINSTANCE instance;
        DLGPROC proc;
    };
    static int32_t FAXAPI RegisterPages(void* pageContext, const void* pageSet, int32_t, void* instance, void*,
                                        void* proc, int32_t, int32_t, int32_t);
    static void* FAXAPI CreateHintWindow(void* instance, void* page, void* pageData);
    static intptr_t FAXAPI PageMessage(void* page, uint32_t message, intptr_t lParam);
    static int32_t FAXAPI Commit(void* sheet);
    static INT_PTR CALLBACK SheetBlockPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    static int32_t FAXAPI ChangeCallback(void* userData, int32_t what, int32_t zero, int32_t one);

    const AddonModule& module_;
    SettingsImage& image_;
    HostContext context_;
    HostServices services_{};
    HostSheetContext sheet_{};
    HostPageContext hookContext_{};
    std::vector<std::unique_ptr<Page>> pages_;
    std::vector<uint8_t> applied_;
    HostUiCalls calls_;
    HGLOBAL sheetBlock_ = nullptr;
    DLGPROC pageProc_ = nullptr;  // the module's, behind SheetBlockPageProc
};
