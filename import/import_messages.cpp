#include "import_messages.h"

#include "import_codes.h"

namespace {

const char kCannotUse[] = "Tiedoston %s k\xE4ytt\xF6 ei onnistu.\nTietoja ei ole luettu tuotavaksi.";
const char kNoMemory[] = "Muisti ei riit\xE4 tietojen tuomiseen tiedostosta %s.";
const char kNoFaxColumn[] = "Faksinumeroa ei l\xF6ydy tiedostosta %s.\nMit\xE4\xE4n tietoja ei tuoda.";
const char kBadCsv[] = "CSV-muoto ei kelpaa!\nTiedostosta %s ei voi tuoda tietoja.";
const char kBadSpeedDial[] = "Lyhytvalinnan EWS-CSV-muoto ei kelpaa!\nTiedostosta %s ei voi tuoda tietoja.";

}  // namespace

const char kReaderErrorCaption[] = "Virhe CSV-tiedoston tuonnissa";
const char kImportCaption[] = "Tuo faksin vastaanottajan tiedot";
const char kNothingImported[] = "Mit\xE4\xE4n tietoja ei tuoda.";
const char kNoFaxNumbers[] = "Kaikista valituista tiedoista ei l\xF6ydy faksinumeroa.\nMit\xE4\xE4n tietoja ei tuoda.";

const char* ReaderErrorFormat(int code) {
    switch (code) {
    case kImportCannotOpen:
    case kImportNoSize:
    case kImportEmpty: return kCannotUse;
    case kImportNoMemory: return kNoMemory;
    case kImportNoFaxColumn: return kNoFaxColumn;
    case kImportBadCsv: return kBadCsv;
    case kImportBadSpeedDialHeader: return kBadSpeedDial;
    default: return nullptr;
    }
}
