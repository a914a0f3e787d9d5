#pragma once
// The fax confirmation dialog: template and control ids.

#define IDD_FAX_PROMPT 108

#define IDC_PROMPT_LIST 800
#define IDC_PROMPT_OK 801
#define IDC_PROMPT_CANCEL 802
#define IDC_PROMPT_DELAY 803
#define IDC_PROMPT_HOUR 804
#define IDC_PROMPT_MINUTE 805
#define IDC_PROMPT_HELP 806
