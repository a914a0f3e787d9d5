#include "messages.h"

#include <string>

namespace {

using Text = std::basic_string<WCHAR>;

Text Bounded(const WCHAR* s) {
    if (!s) return Text();
    size_t n = 0;
    while (n < 1024 && s[n]) ++n;
    return Text(s, n);
}

}  // namespace

int ShowRecipientMessage(HWND owner, const WCHAR* name, const WCHAR* fax, const WCHAR* suffix,
                         const WCHAR* caption, UINT type) {
    Text text = WIDE("Nimi: ");
    text += Bounded(name);
    text += WIDE("\nFaksinumero: ");
    text += Bounded(fax);
    text += Bounded(suffix);
    return MessageBoxW(owner, text.c_str(), caption, type);
}

const WCHAR* PhonebookErrorPrefix(DBResult code) {
    switch (code) {
    case DB_CANNOT_OPEN: return WIDE("Puhelinmuistion avaaminen ei onnistunut - ");
    case DB_NOT_FOUND: return WIDE("Puhelinmuistiotiedostoa ei löydy - ");
    case DB_BAD_FORMAT: return WIDE("Puhelinmuistiotiedoston (.KFD) muoto ei kelpaa - ");
    default: return WIDE("");
    }
}

void ShowPhonebookFileError(HWND owner, const WCHAR* path, const WCHAR* caption, DBResult code) {
    Text text = PhonebookErrorPrefix(code);
    text += Bounded(path);
    MessageBoxW(owner, text.c_str(), caption, MB_ICONERROR | MB_OK);
}
