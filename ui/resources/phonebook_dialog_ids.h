#pragma once
// Resource and control ids of the phonebook manager (106) and the phonebook
// picker (600). Plain macros: read by windres and by the C++ sources.

#define IDD_PHONEBOOK 106
#define IDD_PHONEBOOK_PICK 600

#define IDC_PB_PHONEBOOK_LIST 601
#define IDC_PB_NEW_ITEM 602
#define IDC_PB_PROPERTIES 603
#define IDC_PB_PICKED_LABEL 604
#define IDC_PB_PICKED_LIST 605
#define IDC_PB_SEARCH 606
#define IDC_PB_HELP 607
#define IDC_PB_PICK 608
#define IDC_PB_DELETE 609
#define IDC_PB_NEW_BOOK 1012
#define IDC_PB_OPEN_BOOK 1013
#define IDC_PB_SAVE_AS 1014
#define IDC_PB_IMPORT 1018
#define IDC_PB_IMPORT_NAMES 1022
#define IDC_PB_CONVERSION_LIST 1023
#define IDC_PB_UNPICK 1024
#define IDC_PB_IMPORT_FULL 1028
