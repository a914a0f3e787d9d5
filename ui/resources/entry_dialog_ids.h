#pragma once
// Entry view and edit, new entry type, group edit and group view.

#define IDD_ENTRY               103
#define IDD_NEW_ENTRY           105
#define IDD_GROUP_EDIT          107
#define IDD_GROUP_VIEW          700

#define IDC_ENTRY_NAME_LABEL    300
#define IDC_ENTRY_NAME          301
#define IDC_ENTRY_COMPANY_LABEL 302
#define IDC_ENTRY_COMPANY       303
#define IDC_ENTRY_FAX_LABEL     304
#define IDC_ENTRY_FAX           305
#define IDC_ENTRY_PHONE_LABEL   306
#define IDC_ENTRY_PHONE         307
#define IDC_ENTRY_EMAIL_LABEL   308
#define IDC_ENTRY_EMAIL         309
#define IDC_ENTRY_MEMO_LABEL    310
#define IDC_ENTRY_MEMO          311
#define IDC_ENTRY_HELP          312
#define IDC_ENTRY_FAX_VIEW      313
#define IDC_ENTRY_COMM          1005

#define IDC_NEW_INDIVIDUAL      500
#define IDC_NEW_GROUP           501

#define IDC_GROUP_AVAILABLE     601
#define IDC_GROUP_PROPERTIES    603
#define IDC_GROUP_MEMBERS_LABEL 604
#define IDC_GROUP_MEMBERS       605
#define IDC_GROUP_SEARCH        606
#define IDC_GROUP_ADD           608
#define IDC_GROUP_NAME          701
#define IDC_GROUP_HELP          702
#define IDC_GROUP_REMOVE        1024
