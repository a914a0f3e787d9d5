#include "page_tables.h"

#include "pages_ids.h"

namespace {

constexpr int32_t kStatic = 0, kGroup = 3, kRadio = 4, kCheckBox = 7, kPushButton = 24;
constexpr int32_t kOptionPageHelp = 111, kAboutPageHelp = 10000;
constexpr int32_t kResolutionHelp = 212, kReportHelp = 213, kHeaderHelp = 214, kPhonebookHelp = 215;
constexpr int32_t kAboutTextHelp = 15000;

const PageControlDesc kOptionControls[] = {
    {kGroup, IDC_RES_GROUP, IDS_HINT_RESOLUTION, kResolutionHelp, {}},
    {kRadio, IDC_RES_NORMAL, IDS_HINT_RES_NORMAL, kResolutionHelp, {}},
    {kRadio, IDC_RES_FINE, IDS_HINT_RES_FINE, kResolutionHelp, {}},
    {kRadio, IDC_RES_SUPERFINE, IDS_HINT_RES_SUPERFINE, kResolutionHelp, {}},
    {kRadio, IDC_RES_ULTRAFINE, IDS_HINT_RES_ULTRAFINE, kResolutionHelp, {}},
    {kGroup, IDC_REPORT_GROUP, IDS_HINT_REPORT, kReportHelp, {}},
    {kRadio, IDC_REPORT_ALWAYS, IDS_HINT_REPORT_ALWAYS, kReportHelp, {}},
    {kRadio, IDC_REPORT_ON_ERROR, IDS_HINT_REPORT_ERROR, kReportHelp, {}},
    {kRadio, IDC_REPORT_NONE, IDS_HINT_REPORT_NONE, kReportHelp, {}},
    {kCheckBox, IDC_SEND_HEADER, IDS_HINT_SEND_HEADER, kHeaderHelp, {}},
    {kPushButton, IDC_OPEN_PHONEBOOK, IDS_HINT_PHONEBOOK, 0, {}},
    {kPushButton, IDC_RESTORE_DEFAULTS, IDS_HINT_DEFAULTS, 0, {}},
};
const PageControlDesc kAboutControls[] = {
    {kStatic, IDC_ABOUT_NAME, 0, kAboutTextHelp, {}},
    {kStatic, IDC_ABOUT_VERSION, 0, kAboutTextHelp, {}},
    {kStatic, IDC_ABOUT_NOTICE1, 0, kAboutTextHelp, {}},
    {kStatic, IDC_ABOUT_NOTICE2, 0, kAboutTextHelp, {}},
};

constexpr int32_t kOptionControlCount = sizeof kOptionControls / sizeof kOptionControls[0];
constexpr int32_t kAboutControlCount = sizeof kAboutControls / sizeof kAboutControls[0];

const PageEntry kOptionPage = {IDD_FAX_OPTIONS, 3, kOptionPageHelp, 0, -1, kOptionPageHelpMap,
                               kOptionControlCount, kOptionControls, {}};
const PageEntry kAboutPage = {IDD_FAX_ABOUT, 3, kAboutPageHelp, 0, -1, kAboutPageHelpMap,
                              kAboutControlCount, kAboutControls, {}};
const PageEntry kAboutPage2 = {IDD_FAX_ABOUT, 1, kAboutPageHelp, 0, -1, kAboutPageHelpMap,
                               kAboutControlCount, kAboutControls, {}};

const PageEntry kWithFax[] = {kOptionPage, kAboutPage, kAboutPage2};
const PageEntry kWithoutFax[] = {kAboutPage, kAboutPage2};
const PageSet kWithFaxSet = {3, kWithFax};
const PageSet kWithoutFaxSet = {2, kWithoutFax};

}  // namespace

const int kResolutionRadios[] = {IDC_RES_NORMAL, IDC_RES_FINE, IDC_RES_SUPERFINE, IDC_RES_ULTRAFINE, -1};
const int kReportRadios[] = {IDC_REPORT_ALWAYS, IDC_REPORT_ON_ERROR, IDC_REPORT_NONE, -1};

const int32_t kOptionPageHelpMap[] = {
    IDD_FAX_OPTIONS,     kOptionPageHelp,
    IDC_RES_GROUP,       kResolutionHelp, IDC_RES_NORMAL,    kResolutionHelp,
    IDC_RES_FINE,        kResolutionHelp, IDC_RES_SUPERFINE, kResolutionHelp,
    IDC_RES_ULTRAFINE,   kResolutionHelp,
    IDC_REPORT_GROUP,    kReportHelp,     IDC_REPORT_ALWAYS, kReportHelp,
    IDC_REPORT_ON_ERROR, kReportHelp,     IDC_REPORT_NONE,   kReportHelp,
    IDC_SEND_HEADER,     kHeaderHelp,
    IDC_OPEN_PHONEBOOK,  kPhonebookHelp,
    0,
};
const int32_t kAboutPageHelpMap[] = {
    IDD_FAX_ABOUT,     kAboutPageHelp,
    IDC_ABOUT_NAME,    kAboutTextHelp, IDC_ABOUT_VERSION, kAboutTextHelp,
    IDC_ABOUT_NOTICE1, kAboutTextHelp, IDC_ABOUT_NOTICE2, kAboutTextHelp,
    0,
};

const PageSet& PageSetFor(bool faxInstalled) { return faxInstalled ? kWithFaxSet : kWithoutFaxSet; }
