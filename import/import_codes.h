#pragma once
// Result codes of the file readers (a negative result) and the source codes
// of the import program.

enum ImportError {
    kImportCannotOpen = -1,
    kImportNoSize = -2,
    kImportNoMemory = -3,
    kImportEmpty = -4,
    kImportNoFaxColumn = -5,
    kImportBadCsv = -6,
    kImportBadSpeedDialHeader = -7,
};

enum ImportSource {
    SourceNone = 0,
    SourceMapi = 1,
    SourceWabFile = 2,
    SourceWabDefault = 3,
    SourceCsvManual = 4,
    SourceCsvAuto = 5,
    SourceSpeedDial = 6,
};
