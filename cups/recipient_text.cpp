#include "recipient_text.h"

#include <cstring>

#include "recipient_dialog.h"
#include "text_convert.h"
#include "text_routines.h"

namespace {

constexpr size_t kFieldChars = 30;
constexpr size_t kSpeedDialChars = 3;
using Wide = std::basic_string<WCHAR>;

// What the name field of the dialog lets through: no brackets (they mark
// groups in lists) and no control characters (the phonebook's markers).
bool NameAcceptable(const Wide& name) {
    for (WCHAR c : name) {
        if (c < 0x20 || c == '[' || c == ']') return false;
    }
    return name.size() <= kFieldChars;
}

// The fax number field's rule: printable ASCII from '!' to 'z' except ','
// and the brackets; lower-case letters are taken as capitals.
bool NormaliseFaxNumber(Wide& number) {
    if (number.empty() || number.size() > kFieldChars) return false;
    for (WCHAR& c : number) {
        if (c >= 'a' && c <= 'z') c = static_cast<WCHAR>(c - 'a' + 'A');
        if (c < '!' || c > 'z' || c == ',' || c == '[' || c == ']') return false;
    }
    return true;
}

// Digits and '*' only, as the speed-dial field takes them, then the
// dialog's own check and padding.
bool NormaliseSpeedDial(Wide& number, int max, std::string* why) {
    if (number.empty() || number.size() > kSpeedDialChars) {
        *why = "a speed-dial number has 1 to 3 characters";
        return false;
    }
    for (WCHAR c : number) {
        if (!(c >= '0' && c <= '9') && c != '*') {
            *why = "a speed-dial number holds only digits and '*'";
            return false;
        }
    }
    WCHAR buffer[kSpeedDialChars + 2] = {};
    std::memcpy(buffer, number.data(), number.size() * sizeof(WCHAR));
    switch (ValidateSpeedDial(buffer, max)) {
    case kSpeedDialOk: number = buffer; return true;
    case kSpeedDialBadWildcard: *why = "'*' may stand only as nn* or ***"; return false;
    default: *why = "the speed-dial number is out of range 1-" + std::to_string(max); return false;
    }
}

void StoreAnsi(const Wide& text, char* field, size_t size) {
    WideToAnsiField(text.c_str(), text.size() + 1, field, size);
}

}  // namespace

bool Utf8ToWideText(const std::string& utf8, Wide* wide) {
    wide->clear();
    if (utf8.empty()) return true;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                nullptr, 0);
    if (n <= 0) return false;
    wide->resize(static_cast<size_t>(n));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                               &(*wide)[0], n) == n;
}

std::vector<std::string> SplitListOption(const std::string& list) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        size_t b = list.find_first_not_of(' ', start);
        if (b != std::string::npos && b < end) {
            size_t e = list.find_last_not_of(' ', end - 1);
            pieces.push_back(list.substr(b, e + 1 - b));
        }
        start = end + 1;
    }
    return pieces;
}

bool ParseRecipientText(const std::string& text, int speedDialMax, FaxRecipient* out, std::string* error) {
    Wide wide;
    if (!Utf8ToWideText(text, &wide)) {
        *error = "recipient \"" + text + "\" is not UTF-8 text";
        return false;
    }
    // A recipient without a name is listed as " <number>".
    if (!wide.empty() && wide[0] == '<') wide.insert(wide.begin(), WCHAR(' '));
    WCHAR name[128] = {}, number[128] = {};
    if (wide.size() >= 128 || !SplitListText(wide.c_str(), name, 128, number, 128)) {
        *error = "recipient \"" + text + "\" is not of the form Name <number>";
        return false;
    }
    TrimBlanks(name);
    Wide nameText(name), numberText(number);
    if (!NameAcceptable(nameText)) {
        *error = "recipient \"" + text + "\": a name has at most 30 characters and no brackets";
        return false;
    }
    FaxRecipient r = DefaultRecipient;
    size_t n = numberText.size();
    if (n >= 2 && numberText[0] == '\'' && numberText[n - 1] == '\'') {
        numberText = numberText.substr(1, n - 2);
        std::string why;
        if (!NormaliseSpeedDial(numberText, speedDialMax, &why)) {
            *error = "recipient \"" + text + "\": " + why;
            return false;
        }
        r.comm.speedDial = 1;
    } else if (!NormaliseFaxNumber(numberText)) {
        *error = "recipient \"" + text +
                 "\": a fax number has 1 to 30 characters from '!' to 'z', without ',', '[' or ']'";
        return false;
    }
    StoreAnsi(nameText, r.name, sizeof r.name);
    StoreAnsi(numberText, r.faxNumber, sizeof r.faxNumber);
    *out = r;
    return true;
}

bool ParseRecipientList(const std::string& list, int speedDialMax, std::vector<FaxRecipient>* out,
                        std::string* error) {
    for (const std::string& piece : SplitListOption(list)) {
        FaxRecipient r;
        if (!ParseRecipientText(piece, speedDialMax, &r, error)) return false;
        out->push_back(r);
    }
    return true;
}
