#pragma once
// The fax option page and the information page of the printing preferences.

#define IDD_FAX_OPTIONS         102
#define IDD_FAX_ABOUT           109
#define IDB_FAX_ABOUT           101

#define IDC_RES_GROUP           201
#define IDC_RES_NORMAL          202
#define IDC_RES_FINE            203
#define IDC_RES_SUPERFINE       204
#define IDC_RES_ULTRAFINE       205
#define IDC_REPORT_GROUP        206
#define IDC_REPORT_ALWAYS       207
#define IDC_REPORT_ON_ERROR     208
#define IDC_REPORT_NONE         209
#define IDC_SEND_HEADER         210
#define IDC_RESTORE_DEFAULTS    211
#define IDC_OPEN_PHONEBOOK      1010

#define IDC_ABOUT_NAME          901
#define IDC_ABOUT_VERSION       902
#define IDC_ABOUT_NOTICE1       903
#define IDC_ABOUT_NOTICE2       904

#define IDS_HINT_RESOLUTION     2002
#define IDS_HINT_RES_NORMAL     2003
#define IDS_HINT_RES_FINE       2004
#define IDS_HINT_RES_SUPERFINE  2005
#define IDS_HINT_RES_ULTRAFINE  2006
#define IDS_HINT_REPORT         2010
#define IDS_HINT_REPORT_ALWAYS  2011
#define IDS_HINT_REPORT_ERROR   2012
#define IDS_HINT_REPORT_NONE    2013
#define IDS_HINT_SEND_HEADER    2014
#define IDS_HINT_PHONEBOOK      2015
#define IDS_HINT_DEFAULTS       1008
