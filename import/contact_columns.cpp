#include "contact_columns.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kWholeName[] = {"NIMI", "NAME", "FULL NAME", "DISPLAY NAME"};
const char* const kFirstName[] = {"ETUNIMI", "FIRST NAME", "GIVEN NAME"};
const char* const kLastName[] = {"SUKUNIMI", "LAST NAME", "FAMILY NAME"};
const char kTypeEnd[] = " - TYPE";
const char kValueEnd[] = " - VALUE";

template <size_t N>
bool OneOf(const std::string& word, const char* const (&words)[N]) {
    for (const char* w : words) {
        if (word == w) return true;
    }
    return false;
}

bool EndsWith(const std::string& s, const char* end) {
    size_t n = std::strlen(end);
    return s.size() > n && s.compare(s.size() - n, n, end) == 0;
}

}  // namespace

std::string HeaderWord(const char* field) {
    std::string s = field;
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    size_t b = s.find_first_not_of(' ');
    size_t e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool SaysFax(const char* text) {
    std::string word = HeaderWord(text);
    return word.find("FAX") != std::string::npos || word.find("FAKSI") != std::string::npos;
}

void FindContactColumns(char* const* fields, int n, ContactColumns& c) {
    c = ContactColumns{};
    std::vector<std::string> words;
    words.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) words.push_back(HeaderWord(fields[i]));
    for (int i = 0; i < n; ++i) {
        const std::string& w = words[i];
        if (c.name < 0 && OneOf(w, kWholeName)) c.name = i;
        if (c.firstName < 0 && OneOf(w, kFirstName)) c.firstName = i;
        if (c.lastName < 0 && OneOf(w, kLastName)) c.lastName = i;
        if (SaysFax(fields[i])) c.fax.push_back(i);
        if (EndsWith(w, kTypeEnd)) {
            std::string value = w.substr(0, w.size() - std::strlen(kTypeEnd)) + kValueEnd;
            auto found = std::find(words.begin(), words.end(), value);
            if (found != words.end()) c.typed.push_back({i, static_cast<int>(found - words.begin())});
        }
    }
}
