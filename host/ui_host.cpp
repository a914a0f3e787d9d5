#include "ui_host.h"

#include <cstring>

namespace {

// One preferences sheet at a time in a process: the services find their
// host through this.
HostUi* g_current = nullptr;

constexpr int32_t kPreferencesPageKind = 3;

}  // namespace

HostUi* HostUi::From(const void*) { return g_current; }

HostUi::HostUi(const AddonModule& module, SettingsImage& image)
    : module_(module), image_(image), context_(1) {
    image_.ReserveModuleBlocks(*module.table(), &context_.block(0));
    services_.registerPages = RegisterPages;
    services_.createHintWindow = CreateHintWindow;
    services_.pageMessage = PageMessage;
    services_.commit = Commit;
    context_.get()->services = &services_;
    sheet_.driver = context_.get();
    sheet_.changeCallback = ChangeCallback;
    sheet_.callbackData = this;
    sheet_.notifyOnCommit = 1;
    sheet_.modeFlags = kSheetModeCopyOut | kSheetModeCommit;
    const int32_t pending = 1;
    std::memcpy(sheet_.commitPending, &pending, sizeof pending);
    hookContext_.sheet = &sheet_;
    g_current = this;
}

HostUi::~HostUi() {
    if (g_current == this) g_current = nullptr;
}

int32_t FAXAPI HostUi::RegisterPages(void* pageContext, const void* pageSet, int32_t, void* instance, void*,
                                     void* proc, int32_t, int32_t, int32_t) {
    HostUi* host = g_current;
    const auto* set = static_cast<const PageSet*>(pageSet);
    if (!host || !set || !set->entries || set->count < 0 || set->count > 16 || !pageContext) return 0;
    host->pages_.clear();
    for (int32_t i = 0; i < set->count; ++i) {
        auto page = std::make_unique<Page>();
        page->entry = &set->entries[i];
        page->context = HostPageContext{};
        page->context.entry = page->entry;
        page->context.sheet = &host->sheet_;
        page->instance = static_cast<HINSTANCE>(instance);
        page->proc = reinterpret_cast<DLGPROC>(proc);
        host->pages_.push_back(std::move(page));
    }
    return 1;
}

void* FAXAPI HostUi::CreateHintWindow(void*, void* page, void*) {
    // The hint line under the page's controls: hidden until the host shows
    // a hint in it.
    HWND hint = CreateWindowExW(0, WIDE("STATIC"), WIDE(""), WS_CHILD, 0, 0, 10, 10, static_cast<HWND>(page),
                                nullptr, nullptr, nullptr);
    if (g_current) {
        ++g_current->calls_.hintWindows;
        g_current->calls_.hint = hint;
    }
    return hint;
}

intptr_t FAXAPI HostUi::PageMessage(void*, uint32_t, intptr_t) {
    if (g_current) ++g_current->calls_.pageMessages;
    return 0;
}

int32_t FAXAPI HostUi::Commit(void*) {
    if (g_current) ++g_current->calls_.commits;
    return 1;
}

int32_t FAXAPI HostUi::ChangeCallback(void* userData, int32_t what, int32_t zero, int32_t one) {
    auto* host = static_cast<HostUi*>(userData);
    if (host && what == 9 && zero == 0 && one == 1) ++host->calls_.changeCallbacks;
    return 1;
}

INT_PTR CALLBACK HostUi::SheetBlockPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    HostUi* host = g_current;
    if (!host || !host->pageProc_) return FALSE;
    if (message == WM_INITDIALOG) SetPropW(page, WIDE("SW_UI_PS"), host->sheetBlock_);
    return host->pageProc_(page, message, wParam, lParam);
}

std::vector<int> HostUi::RegisteredTemplates() const {
    std::vector<int> ids;
    for (const auto& p : pages_) ids.push_back(p->entry->templateId);
    return ids;
}

INT_PTR HostUi::ShowPreferences(HWND owner) {
    g_current = this;
    sheet_.image = image_.data();
    sheet_.imageSize = static_cast<int32_t>(image_.size());
    applied_.assign(image_.data(), image_.data() + image_.size());
    sheet_.outputBuffer = applied_.data();

    auto hook = reinterpret_cast<AddOnPageHook>(module_.table()->hooks[kHookPage]);
    if (!hook) return -1;
    hook(context_.get(), &hookContext_, image_.data());

    std::vector<PROPSHEETPAGEW> sheetPages;
    for (const auto& p : pages_) {
        if (p->entry->kind != kPreferencesPageKind) continue;
        PROPSHEETPAGEW psp{};
        psp.dwSize = sizeof psp;
        psp.hInstance = p->instance;
        psp.pszTemplate = MAKEINTRESOURCEW(p->entry->templateId);
        psp.pfnDlgProc = p->proc;
        if (sheetBlock_) {
            pageProc_ = p->proc;
            psp.pfnDlgProc = SheetBlockPageProc;
        }
        psp.lParam = reinterpret_cast<LPARAM>(&p->context);
        sheetPages.push_back(psp);
    }
    if (sheetPages.empty()) return -1;
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.hwndParent = owner;
    header.pszCaption = WIDE("Tulostusmääritykset");
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.ppsp = sheetPages.data();
    INT_PTR result = PropertySheetW(&header);
    // This host keeps what the pages applied and drops the rest.
    std::memcpy(image_.data(), applied_.data(), image_.size());
    return result;
}
