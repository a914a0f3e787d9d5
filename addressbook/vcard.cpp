#include "vcard.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string_view>

#include "vcard_text.h"

namespace vcard {
namespace {

// One property line after unfolding: GROUP.NAME;PARAMS:VALUE.
struct ContentLine {
    std::string group;                // upper case, empty when not grouped
    std::string name;                 // upper case, group prefix removed
    std::vector<std::string> types;   // upper case, from TYPE=a,b and bare 2.1 params
    bool quotedPrintable = false;
    std::string charset;              // upper case, empty when not given
    std::string value;                // raw, still escaped / encoded
};

// The value starts at the first ':' outside a quoted parameter value.
size_t ValueColon(std::string_view line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == ':' && !quoted) return i;
    }
    return std::string_view::npos;
}

bool ParseContentLine(std::string_view line, ContentLine& out) {
    size_t colon = ValueColon(line);
    if (colon == std::string_view::npos || colon == 0) return false;
    out.value.assign(line.substr(colon + 1));

    std::vector<std::string_view> parts = SplitUnquoted(line.substr(0, colon), ';');
    std::string_view name = parts[0];
    size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        out.group = Upper(name.substr(0, dot));
        name = name.substr(dot + 1);
    }
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
    std::string v = Trim(TextValue(l));
    // 4.0 may write the number as a tel: URI; its parameters (";ext=45",
    // ";phone-context=...") are not digits to dial.
    if (v.size() >= 4 && Upper(std::string_view(v).substr(0, 4)) == "TEL:") {
        v.erase(0, 4);
        v.erase(std::min(v.find(';'), v.size()));
    }
    return Trim(v);
}

enum class FaxKind { None, Generic, Work, Home };

FaxKind KindOfTypes(const ContentLine& l) {
    if (!HasType(l, "FAX")) return FaxKind::None;
    return HasType(l, "WORK") ? FaxKind::Work : HasType(l, "HOME") ? FaxKind::Home : FaxKind::Generic;
}

// An address-book program's label of a grouped number: "_$!<WorkFAX>!$_",
// "homeFax", or any label of the user's own that says fax (in Finnish "faksi").
FaxKind KindOfLabel(const std::string& label) {
    if (!ContainsNoCase(label, "FAX") && !ContainsNoCase(label, "FAKSI")) return FaxKind::None;
    return ContainsNoCase(label, "WORK") ? FaxKind::Work : ContainsNoCase(label, "HOME") ? FaxKind::Home : FaxKind::Generic;
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
    void Start() {
        card_ = Card();
        nameFromN_.clear();
        tels_.clear();
        labels_.clear();
    }

    void Add(const ContentLine& l) {
        if (l.name == "FN") card_.displayName = Trim(TextValue(l));
        else if (l.name == "N") nameFromN_ = NameFromN(l);
        else if (l.name == "UID") card_.uid = Trim(TextValue(l));
        else if (l.name == "KIND") card_.kind = KindOf(Upper(Trim(TextValue(l))));
        else if (l.name == "MEMBER") card_.members.push_back(Trim(TextValue(l)));
        else if (l.name == "CATEGORIES") AddCategories(l);
        else if (l.name == "TEL") AddTel(l);
        else if (l.name == "X-ABLABEL" && !l.group.empty()) labels_.emplace(l.group, Trim(TextValue(l)));
    }

    Card Finish() {
        if (card_.displayName.empty()) card_.displayName = nameFromN_;
        // A group's label may follow its number, so numbers are placed
        // only now, in the order they came.
        for (const Tel& t : tels_) {
            auto label = labels_.find(t.group);
            FaxKind kind = label == labels_.end() ? FaxKind::None : KindOfLabel(label->second);
            if (kind == FaxKind::None) kind = t.kindByType;
            if (kind != FaxKind::None) Place(kind, t.number);
        }
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

    // A number that is a fax by its types, or may be one by its group's label.
    struct Tel {
        std::string group;
        FaxKind kindByType;
        std::string number;
    };

    void AddTel(const ContentLine& l) {
        FaxKind kind = KindOfTypes(l);
        if (kind == FaxKind::None && l.group.empty()) return;
        std::string number = FaxNumberValue(l);
        if (!number.empty()) tels_.push_back(Tel{l.group, kind, std::move(number)});
    }

    // The first number of each kind wins, as an address book keeps one.
    void Place(FaxKind kind, const std::string& number) {
        std::string& slot = kind == FaxKind::Work ? card_.businessFax
                            : kind == FaxKind::Home ? card_.homeFax
                                                    : card_.primaryFax;
        if (slot.empty()) slot = number;
    }

    Card card_;
    std::string nameFromN_;
    std::vector<Tel> tels_;
    std::map<std::string, std::string> labels_;  // group -> its first label
};

// Physical lines joined into logical ones: a line starting with a blank
// continues the previous one; in quoted-printable values a line ending in
// '=' is a soft break. A line ends at LF, CR LF or a lone CR; the CR CR LF
// of some phones' exports is one end too, or every fold after it would
// start a line of its own.
class LineJoiner {
public:
    std::vector<std::string> Join(std::string_view text) {
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            pos = end;
            while (pos < text.size() && text[pos] == '\r') ++pos;
            if (pos < text.size() && text[pos] == '\n') ++pos;
            Add(line);
        }
        return std::move(lines_);
    }

private:
    void Add(std::string_view line) {
        if (softBreak_ && !lines_.empty()) {
            lines_.back().append(line);
        } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines_.empty()) {
            lines_.back().append(line.substr(1));
        } else {
            lines_.emplace_back(line);
            scanned_ = 0;
            quoted_ = false;
            valueKnown_ = false;
            quotedPrintable_ = false;
        }
        std::string& last = lines_.back();
        // The encoding is read once, when the parameters are whole; only the
        // new piece of a folded line is looked at, so that a long folded
        // line costs its length, not its length times its pieces.
        for (; !valueKnown_ && scanned_ < last.size(); ++scanned_) {
            if (last[scanned_] == '"') quoted_ = !quoted_;
            else if (last[scanned_] == ':' && !quoted_) {
                valueKnown_ = true;
                quotedPrintable_ = ContainsNoCase(std::string_view(last).substr(0, scanned_), "QUOTED-PRINTABLE");
            }
        }
        softBreak_ = quotedPrintable_ && !last.empty() && last.back() == '=';
        if (softBreak_) last.pop_back();
    }

    std::vector<std::string> lines_;
    bool softBreak_ = false;
    size_t scanned_ = 0;            // bytes of the last line looked at for its ':'
    bool quoted_ = false;           // inside a quoted parameter value there
    bool valueKnown_ = false;       // the ':' has been found
    bool quotedPrintable_ = false;  // and the parameters before it name that encoding
};

bool IsMarker(std::string_view line, std::string_view marker) {
    std::string_view t = line;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t.size() == marker.size() && Upper(t) == marker;
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
    for (const std::string& line : LineJoiner().Join(text)) {
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
            book.cards.push_back(builder.Finish());
            continue;
        }
        if (nested > 0) continue;
        // A line that is no property (no ':', the unindented base64 of a
        // 2.1 photo) costs only itself, not the contact.
        ContentLine l;
        if (ParseContentLine(line, l)) builder.Add(l);
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
