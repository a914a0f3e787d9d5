#pragma once
// What a file yields when every recipient in it is taken: the kind told
// from its header, the recipients in file order and the rejected lines.
// Used where no user picks (the administrators' command line); the file is
// read a piece at a time and each recipient handed on as it is found, so
// files of hundreds of megabytes need little memory.

#include <cstdint>
#include <string>
#include <vector>

#include "contact_columns.h"
#include "csv_reader.h"
#include "fax_settings.h"
#include "text_decoder.h"

// Columns named by the user: a 1-based number or a header word (compared
// without regard to the case of a-z, blanks around it ignored).
struct ColumnNames {
    std::string name;               // empty: from the header words
    std::vector<std::string> fax;   // empty: from the header words
};

struct FileReading {
    uint64_t fileSize = 0;
    uint64_t linesGuess = 0;  // about how many lines it has (for sizing)
    bool speedDial = false;
    TextEncoding encoding = TextEncoding::Ansi;
    char separator = ',';
    ContactColumns columns;                  // contact files
    std::vector<RejectedLine> rejected;
    int duplicates = 0;       // contact file recipients skipped as already taken
    int lostNames = 0;        // recipients whose name lost characters the code page lacks
    std::string badColumn;    // a named column the header does not have
};

// Where the recipients go.
class RecipientSink {
public:
    virtual ~RecipientSink() = default;
    // Once the kind and the columns are known, before any recipient.
    virtual bool Begin(const FileReading&) { return true; }
    // speedDialKey: the speed-dial number (speed-dial files), else empty.
    // False stops the reading.
    virtual bool Take(const FaxRecipient& r, const char* speedDialKey) = 0;
    // True: a repeated recipient is handed on again rather than counted
    // (saves the memory of remembering them).
    virtual bool TakesRepeats() const { return false; }
    // True: Begin is told the file's encoding, for which a file without a
    // byte-order mark is read through once before its first line. False:
    // the encoding is known when the reading ends, and the file is read
    // once (unless a byte of 128 or more turns up).
    virtual bool EncodingAtBegin() const { return true; }
};

class TextSet;
// Room in a set of keys for those of a file, beside more already there.
void ReserveKeys(TextSet& keys, const FileReading& f, size_t more);

// The sink said stop.
constexpr int kReadingStopped = -100;

// 0, a reader error code or kReadingStopped; a named column that is not
// there gives kImportNoFaxColumn with badColumn set. A quoted field of a
// contact file may hold line breaks, and a fax field several numbers
// separated by " ::: ". Recipients without a fax number are left out, and
// so is a second one with the same name and number, as in the picking
// dialog. Recipients found before an error have been handed on.
// The recipients of a contact file reach the sink from a second thread
// while the first reads on, in file order; the sink is called from one
// thread at a time and the reading returns only when it is done with.
// piece: the bytes read at a time (tests and fuzzing read in small ones);
// batch: the recipients handed from one thread to the other at a time.
int ReadFileRecipients(const char* path, const ColumnNames& names, FileReading& out, RecipientSink& sink,
                       size_t piece = 1 << 20, size_t batch = 4096);
