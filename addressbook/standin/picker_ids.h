#pragma once
// The stand-in address book's selection dialog.
#define IDD_ADDRESS_PICKER 100
#define IDC_BOOK_LIST 1001
#define IDC_ADD_TO_WELL 1002
#define IDC_WELL_LIST 1003
#define IDC_REMOVE_FROM_WELL 1004
#define IDC_WELLS_TITLE 1005
#define IDC_BOOK_TITLE 1006
