#pragma once
// The import program's message texts, in the ANSI code page (1252).

// Format with one %s (the file's full path) for a reader error code, or
// nullptr for a code that is not one.
const char* ReaderErrorFormat(int code);

extern const char kReaderErrorCaption[];   // "Virhe CSV-tiedoston tuonnissa"
extern const char kImportCaption[];        // "Tuo faksin vastaanottajan tiedot"
extern const char kNothingImported[];      // "Mitään tietoja ei tuoda."
extern const char kNoFaxNumbers[];
