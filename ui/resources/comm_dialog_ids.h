#pragma once
// Communication settings dialog.

#define IDD_COMM_SETTINGS       104

#define IDC_COMM_MODE_LABEL     401
#define IDC_COMM_MODE           402
#define IDC_SECURE              403
#define IDC_RELAY               404
#define IDC_MAILBOX_LABEL       405
#define IDC_MAILBOX             406
#define IDC_MAILBOX_PASS_LABEL  407
#define IDC_MAILBOX_PASS        408
#define IDC_STATION_LABEL       409
#define IDC_STATION             410
#define IDC_RELAY_PRINT         411
#define IDC_DEST_NUMBER         412
#define IDC_DEST_LIST_LABEL     413
#define IDC_DEST_LIST           414
#define IDC_DEST_ADD            415
#define IDC_DEST_REMOVE         416
#define IDC_GROUP_SEND          417
#define IDC_DEST_LABEL_99       418
#define IDC_DEST_LABEL_9        419
#define IDC_FCODE_LABEL         420
#define IDC_FCODE               421
#define IDC_FCODE_PASS_LABEL    422
#define IDC_FCODE_PASS          423
#define IDC_COMM_HELP           424
