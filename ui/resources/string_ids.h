#pragma once
// String table entries and bitmaps shared by several dialogs.

#define IDS_HELP_FILE           700
#define IDS_PHONEBOOK_FILTER    1040
#define IDS_COMM_MODE_G3        1050
#define IDS_COMM_MODE_F4800     1051
#define IDS_COMM_MODE_G4        1052
#define IDS_IMPORT_PROGRAM      3059

// The etched separator band drawn across the phonebook and group dialogs.
#define IDB_BAND                103
