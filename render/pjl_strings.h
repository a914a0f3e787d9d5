#pragma once
// The PJL text the module writes, byte for byte. Line endings are mixed on
// purpose: the printer's parser accepts both and the fax lines have always
// ended in a bare line feed.

constexpr char PJL_CommentStartJob[] = "@PJL COMMENT - Job started at \"";
constexpr char PJL_CommentEndJob[] = "@PJL COMMENT - Job ended at \"";
constexpr char PJL_TimeEnd[] = "\"\r\n";
constexpr char PJL_JobAccount[] = "@PJL JOBINFO ACCTUSER=\"@";
constexpr char PJL_ClientID[] = "@PJL JOBINFO JOBCLIENTID = ";
constexpr char PJL_CommandEnd[] = "\r\n";
constexpr char PJL_FaxNumber[] = "@PJL TELARN FAXNUM = ";
constexpr char PJL_FaxRes[] = "@PJL TELARN FAXRES = ";
constexpr char PJL_TxReport[] = "@PJL TELARN TXRPT = ";
constexpr char PJL_TxHeader[] = "@PJL TELARN TXHDR = ";
constexpr char PJL_DelaySend[] = "@PJL TELARN DELAYSEND = ";
constexpr char PJL_PrintUserID[] = "@PJL SET USERNAME=\"";
constexpr char PJL_PrintDocName[] = "@PJL SET JOBNAME=\"";
constexpr char PJL_PrintPassword[] = "@PJL SET HOLDKEY=\"";
constexpr char PJL_PrintSecure[] = "@PJL SET HOLD=STORE\r\n";
constexpr char PJL_PrintSample[] = "@PJL SET HOLD=PROOF\r\n";
constexpr char PJL_CollateQty[] = "@PJL SET QTY=";

constexpr const char* ResString[] = {"NORMAL", "FINE", "SUPERFINE", "ULTRAFINE"};
constexpr const char* RptString[] = {"ON", "ONERROR", "OFF"};
constexpr char PJL_HeaderOn[] = "ON\n";
constexpr char PJL_HeaderOff[] = "OFF\n";
constexpr char PJL_NumberColon[] = "%d:";
constexpr char PJL_NumberLine[] = "%d\n";

// Characters of the application's document name used when the held-print
// settings name none.
constexpr int kAppDocNameChars = 24;
