#include "job_identity.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kIdentityMax = 31;     // characters of the identity
constexpr DWORD kSystemNameMax = 256;   // what the user and computer calls are given

char KeypadDigit(char c) {
    static const char kDigits[] = "22233344455566677778889999";
    return (c >= 'A' && c <= 'Z') ? kDigits[c - 'A'] : c;
}

// A name the system wrote into a buffer of kSystemNameMax + 1 units.
std::u16string NameText(const WCHAR* text) {
    const char16_t* s = reinterpret_cast<const char16_t*>(text);
    size_t n = 0;
    while (n < kSystemNameMax && s[n]) ++n;
    return std::u16string(s, n);
}

// A fixed text field of a record read within its size.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

void Store(const std::string& text, char (&out)[kDisplaySize]) {
    std::memset(out, 0, sizeof out);
    std::memcpy(out, text.data(), std::min(text.size(), sizeof out - 1));
}

}  // namespace

void ToAnsiField(const std::u16string& text, char* out, size_t size) {
    if (!out || size == 0) return;
    std::memset(out, 0, size);
    if (text.empty()) return;
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(text.c_str());
    int n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    if (n <= 0) return;
    std::vector<char> bytes(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    std::memcpy(out, bytes.data(), std::min(bytes.size(), size - 1));
}

void BuildAccountUser(const std::u16string& user, const std::u16string& computer,
                      char (&out)[kAccountUserSize]) {
    std::memset(out, 0, sizeof out);
    if (user.empty())
        std::strcpy(out, "UnknownUser");
    else
        ToAnsiField(user.substr(0, kIdentityMax), out, sizeof out);
    size_t length = strnlen(out, sizeof out);
    if (length <= kIdentityMax - 1) out[length++] = '\\';
    if (length < kIdentityMax) {
        char host[kAccountUserSize];
        if (computer.empty())
            std::strcpy(host, "UnknownHost");
        else
            ToAnsiField(computer, host, sizeof host);
        size_t room = kIdentityMax - length;
        std::memcpy(out + length, host, std::min(room, strnlen(host, sizeof host)));
    }
}

void FillAccountUser(char (&out)[kAccountUserSize]) {
    WCHAR user[kSystemNameMax + 1] = {};
    DWORD userLength = kSystemNameMax;
    std::u16string userName;
    if (GetUserNameW(user, &userLength)) userName = NameText(user);
    WCHAR computer[kSystemNameMax + 1] = {};
    DWORD computerLength = kSystemNameMax;
    std::u16string computerName;
    if (GetComputerNameW(computer, &computerLength)) computerName = NameText(computer);
    BuildAccountUser(userName, computerName, out);
}

void BuildNumberDisplay(const FaxRecipient& first, int recipientCount, char (&out)[kDisplaySize]) {
    std::string number = FieldText(first.faxNumber);
    for (char& c : number) c = KeypadDigit(c);
    number = number.substr(0, kDisplaySize - 1);
    if (recipientCount > 1) {
        if (number.size() > kDisplaySize - 5) number.resize(kDisplaySize - 5);
        number += " ...";
    }
    Store(number, out);
}

void BuildRecipientDisplay(const FaxRecipient& first, int recipientCount, char (&out)[kDisplaySize]) {
    std::string name = FieldText(first.name);
    if (name.empty()) name = recipientCount > 1 ? "1. tuntematon nimi" : "Tuntematon nimi";
    name = name.substr(0, kDisplaySize - 1);
    if (recipientCount > 1) {
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, " and %d others", recipientCount - 1);
        size_t keep = kDisplaySize - 1 - std::strlen(suffix);
        if (name.size() > keep) name.resize(keep);
        name += suffix;
    }
    Store(name, out);
}
