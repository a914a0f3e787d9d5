#pragma once
// What a file yields when every recipient in it is taken: the kind told
// from its header, the recipients in file order and the rejected lines.
// Used where no user picks (the administrators' command line).

#include <string>
#include <vector>

#include "csv_reader.h"
#include "fax_settings.h"
#include "speed_dial_reader.h"
#include "text_image.h"

// Columns named by the user: a 1-based number or a header word (compared
// without regard to the case of a-z, blanks around it ignored).
struct ColumnNames {
    std::string name;               // empty: none
    std::vector<std::string> fax;   // empty: found from the header words
};

struct FileRecipients {
    bool speedDial = false;
    CsvColumns columns;                       // contact files
    std::vector<FaxRecipient> recipients;
    std::vector<std::string> speedDialKeys;   // speed-dial files, parallel to recipients
    std::vector<RejectedLine> rejected;
    int duplicates = 0;                       // contact file candidates skipped as already taken
    std::string badColumn;                    // a named column the header does not have
};

// Whether the header line is a speed-dial export header (the line is not
// changed).
bool HasSpeedDialHeader(const TextImage& image);

// 0 or a reader error code (a named column that is not there gives
// kImportNoFaxColumn with badColumn set). Contact file candidates without
// a fax number are left out, and so is a second candidate with the same
// name and number, as in the picking dialog.
int ReadFileRecipients(TextImage& image, const ColumnNames& names, FileRecipients& out);
