#include "print_job.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "addon.h"
#include "header_printer.h"
#include "print_device.h"
#include "settings_image.h"

const char16_t kHostPrinterName[] = u"Toimiston monitoimilaite";
const char16_t kHostPortName[] = u"IP_192.168.0.20";

namespace {

// The driver's side of the device context: the job's settings image behind
// the private escapes. The add-on's print-time logic is due on the first
// page only.
class HostPrinter : public headless::PrinterDevice {
public:
    HostPrinter(SettingsImage& image, const std::vector<int>& failing) : image_(image), failing_(failing) {}
    int Escape(int code, int inSize, const char* in, int outSize, char* out) override {
        if (std::find(failing_.begin(), failing_.end(), code) != failing_.end()) return -1;
        switch (code) {
        case kEscapeAddonDue:
            return page_ == 1 ? 1 : 0;
        case kEscapeImageSize:
            return static_cast<int>(image_.size());
        case kEscapeReadImage:
            if (outSize < static_cast<int>(image_.size())) return -1;
            std::memcpy(out, image_.data(), image_.size());
            return 1;
        case kEscapeWriteImage:
            // A returned image of another size is not this job's: refused.
            if (inSize != static_cast<int>(image_.size())) return -1;
            std::memcpy(image_.data(), in, image_.size());
            ++stores;
            return 1;
        default:
            return 0;
        }
    }
    void AbortDocument() override { aborted = true; }
    void StartPage() { ++page_; }

    int stores = 0;
    bool aborted = false;

private:
    SettingsImage& image_;
    const std::vector<int>& failing_;
    int page_ = 0;
};

AddOnDocEventHook DocEventHook(const AddonModule& ui) {
    return ui.table() ? reinterpret_cast<AddOnDocEventHook>(ui.table()->hooks[kHookDocEvent]) : nullptr;
}

}  // namespace

bool ParseImageLayout(const std::string& text, ImageLayout* layout) {
    static const struct {
        const char* name;
        ImageLayout layout;
    } kLayouts[] = {{"standard", ImageLayout::Standard}, {"packed", ImageLayout::Packed}, {"spread", ImageLayout::Spread}};
    for (const auto& l : kLayouts) {
        if (text == l.name) {
            *layout = l.layout;
            return true;
        }
    }
    return false;
}

bool ParseFailingEscapes(const std::string& text, std::vector<int>* codes, std::string* error) {
    codes->clear();
    if (text.empty()) return true;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(',', start);
        const std::string item = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (item.empty() || item.size() > 9 || item.find_first_not_of("0123456789") != std::string::npos) {
            *error = "not an escape number: \"" + item + "\"";
            return false;
        }
        codes->push_back(std::stoi(item));
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

bool RunPrintJob(const AddonModule& ui, const AddonModule& render, const JobDescription& job,
                 const PrintHost& options, PrintJobResult* result, std::string* error) {
    AddOnDocEventHook hook = DocEventHook(ui);
    if (!hook) {
        *error = ui.path() + ": the module has no document-event hook";
        return false;
    }
    SettingsImage image(options.layout);
    HostContext host(1);
    image.ReserveModuleBlocks(*ui.table(), &host.block(0));
    ApplyJobToImage(job, image, host.block(0));

    HostPrinter printer(image, options.failingEscapes);
    HDC dc = headless::CreatePrinterDC(&printer);
    HANDLE handle = headless::CreatePrinterHandle(kHostPrinterName, kHostPortName, u"PCL XL");
    WCHAR docName[kHostDocNameSize + 1] = {};
    MultiByteToWideChar(CP_ACP, 0, job.appDocName, static_cast<int>(strnlen(job.appDocName, sizeof job.appDocName)),
                        docName, kHostDocNameSize);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = docName;
    const DOCINFOW* infoRef = &info;

    int32_t status = hook(host.get(), handle, dc, kDocEventStartDoc, nullptr, &infoRef, nullptr, nullptr);
    if (status == 1) {
        printer.StartPage();
        status = hook(host.get(), handle, dc, kDocEventStartPage, nullptr, nullptr, nullptr, nullptr);
    }
    if (status == 1) {
        hook(host.get(), handle, dc, kDocEventEndPage, nullptr, nullptr, nullptr, nullptr);
        hook(host.get(), handle, dc, kDocEventEndDoc, nullptr, nullptr, nullptr, nullptr);
    }
    headless::DeletePrinterDC(dc);
    headless::ClosePrinterHandle(handle);

    result->cancelled = status != 1;
    result->aborted = printer.aborted;
    result->stores = printer.stores;
    result->pjl.clear();
    if (result->cancelled) return true;
    return PrintHeaderFromImage(render, image, host.block(0), job, &result->pjl, error);
}
