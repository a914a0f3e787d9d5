#include "vcard.h"

#include <cstdio>
#include <string_view>

#include "vcard_text.h"

namespace vcard {
namespace {

// One property line after unfolding: NAME;PARAMS:VALUE.
struct ContentLine {
    std::string name;                 // upper case, group prefix removed
    std::vector<std::string> types;   // upper case, from TYPE=a,b and bare 2.1 params
    bool quotedPrintable = false;
    std::string charset;              // upper case, empty when not given
    std::string value;                // raw, still escaped / encoded
};

bool ParseContentLine(std::string_view line, ContentLine& out) {
    // The value starts at the first ':' outside a quoted parameter value.
    size_t colon = std::string_view::npos;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == ':' && !quoted) { colon = i; break; }
    }
    if (colon == std::string_view::npos || colon == 0) return false;
    out.value.assign(line.substr(colon + 1));

    std::vector<std::string_view> parts = SplitUnquoted(line.substr(0, colon), ';');
    std::string_view name = parts[0];
    size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(dot + 1);
    if (name.empty()) return false;
    out.name = Upper(name);

    for (size_t i = 1; i < parts.size(); ++i) {
        std::string_view p = parts[i];
        size_t eq = p.find('=');
        std::string key = Upper(eq == std::string_view::npos ? p : p.substr(0, eq));
        std::string_view val = eq == std::string_view::npos ? std::string_view() : Unquote(p.substr(eq + 1));
        if (eq == std::string_view::npos) {
            // 2.1 writes types and the encoding as bare words.
            if (key == "QUOTED-PRINTABLE") out.quotedPrintable = true;
            else out.types.push_back(key);
        } else if (key == "TYPE") {
            for (std::string_view t : SplitUnquoted(val, ',')) out.types.push_back(Upper(t));
        } else if (key == "ENCODING") {
            if (Upper(val) == "QUOTED-PRINTABLE") out.quotedPrintable = true;
        } else if (key == "CHARSET") {
            out.charset = Upper(val);
        }
    }
    return true;
}

bool HasType(const ContentLine& l, const char* type) {
    for (const std::string& t : l.types)
        if (t == type) return true;
    return false;
}

// The value as UTF-8: quoted-printable decoded, a legacy charset
// converted; backslash escapes still in place.
std::string DecodedValue(const ContentLine& l) {
    std::string v = l.quotedPrintable ? DecodeQuotedPrintable(l.value) : l.value;
    bool declaredUtf8 = l.charset.empty() || l.charset == "UTF-8";
    if (!declaredUtf8 || !IsValidUtf8(v)) v = Windows1252ToUtf8(v);
    return v;
}

std::string TextValue(const ContentLine& l) { return Unescape(DecodedValue(l)); }

// The components of a structured value, each unescaped.
std::vector<std::string> ValueParts(const ContentLine& l, char sep) {
    std::string decoded = DecodedValue(l);
    std::vector<std::string> parts;
    for (std::string_view p : SplitEscaped(decoded, sep)) parts.push_back(Trim(Unescape(p)));
    return parts;
}

std::string FaxNumberValue(const ContentLine& l) {
    std::string v = TextValue(l);
    // 4.0 may write the number as a tel: URI.
    if (v.size() >= 4 && Upper(std::string_view(v).substr(0, 4)) == "TEL:") v.erase(0, 4);
    return Trim(v);
}

std::string NameFromN(const ContentLine& l) {
    // N is family;given;additional;prefixes;suffixes.
    std::vector<std::string> f = ValueParts(l, ';');
    std::string given = f.size() > 1 ? f[1] : std::string();
    std::string family = f.empty() ? std::string() : f[0];
    if (given.empty()) return family;
    if (family.empty()) return given;
    return given + " " + family;
}

class CardBuilder {
public:
    void Start() { card_ = Card(); nameFromN_.clear(); malformed_ = false; }
    void MarkMalformed() { malformed_ = true; }
    bool Malformed() const { return malformed_; }

    void Add(const ContentLine& l) {
        if (l.name == "FN") card_.displayName = Trim(TextValue(l));
        else if (l.name == "N") nameFromN_ = NameFromN(l);
        else if (l.name == "UID") card_.uid = Trim(TextValue(l));
        else if (l.name == "KIND") card_.kind = KindOf(Upper(Trim(TextValue(l))));
        else if (l.name == "MEMBER") card_.members.push_back(Trim(TextValue(l)));
        else if (l.name == "CATEGORIES") AddCategories(l);
        else if (l.name == "TEL") AddTel(l);
    }

    Card Finish() {
        if (card_.displayName.empty()) card_.displayName = nameFromN_;
        return card_;
    }

private:
    static CardKind KindOf(const std::string& kind) {
        if (kind == "GROUP") return CardKind::List;
        if (kind.empty() || kind == "INDIVIDUAL" || kind == "ORG") return CardKind::Person;
        return CardKind::Other;
    }

    void AddCategories(const ContentLine& l) {
        for (std::string& c : ValueParts(l, ','))
            if (!c.empty()) card_.categories.push_back(std::move(c));
    }

    void AddTel(const ContentLine& l) {
        if (!HasType(l, "FAX")) return;
        std::string number = FaxNumberValue(l);
        if (number.empty()) return;
        // The first number of each kind wins, as an address book keeps one.
        std::string& slot = HasType(l, "WORK") ? card_.businessFax
                            : HasType(l, "HOME") ? card_.homeFax
                                                 : card_.primaryFax;
        if (slot.empty()) slot = number;
    }

    Card card_;
    std::string nameFromN_;
    bool malformed_ = false;
};

// Physical lines joined into logical ones: a line starting with a blank
// continues the previous one; in quoted-printable values a line ending in
// '=' is a soft break.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    bool softBreak = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;

        if (softBreak && !lines.empty()) {
            lines.back().append(line);
        } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
            lines.back().append(line.substr(1));
        } else {
            lines.emplace_back(line);
        }
        const std::string& last = lines.back();
        softBreak = !last.empty() && last.back() == '=' && ContainsNoCase(last, "QUOTED-PRINTABLE");
        if (softBreak) lines.back().pop_back();
    }
    return lines;
}

bool IsMarker(std::string_view line, const char* marker) {
    return Upper(Trim(line)) == marker;
}

}  // namespace

ReadResult ParseBook(const char* data, size_t size, Book& book) {
    book = Book();
    if (size > kMaxFileBytes) return ReadResult::TooLarge;
    std::string_view text(data, size);
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    bool sawCard = false;
    bool inCard = false;
    int nested = 0;  // 2.1 may embed a card (AGENT); its lines are not ours
    CardBuilder builder;
    for (const std::string& line : LogicalLines(text)) {
        if (IsMarker(line, "BEGIN:VCARD")) {
            sawCard = true;
            if (inCard) { ++nested; continue; }
            inCard = true;
            builder.Start();
            continue;
        }
        if (!inCard) continue;
        if (IsMarker(line, "END:VCARD")) {
            if (nested > 0) { --nested; continue; }
            inCard = false;
            if (builder.Malformed()) ++book.skippedCards;
            else book.cards.push_back(builder.Finish());
            continue;
        }
        if (nested > 0 || Trim(line).empty()) continue;
        ContentLine l;
        if (ParseContentLine(line, l)) builder.Add(l);
        else builder.MarkMalformed();
    }
    if (inCard) ++book.skippedCards;  // cut off before its END
    return sawCard ? ReadResult::Ok : ReadResult::NotVCard;
}

ReadResult ReadBookFile(const std::string& path, Book& book) {
    book = Book();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return ReadResult::NotFound;
    std::string data;
    char buf[65536];
    size_t n;
    ReadResult result = ReadResult::Ok;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (data.size() + n > kMaxFileBytes) { result = ReadResult::TooLarge; break; }
        data.append(buf, n);
    }
    std::fclose(f);
    if (result != ReadResult::Ok) return result;
    return ParseBook(data.data(), data.size(), book);
}

std::string MemberUid(const std::string& reference) {
    std::string_view r = reference;
    if (r.size() >= 9 && Upper(r.substr(0, 9)) == "URN:UUID:") r.remove_prefix(9);
    return std::string(r);
}

}  // namespace vcard
