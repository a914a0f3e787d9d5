#include "job_file.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool ParseInt(const std::string& v, int32_t* out) {
    size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
    if (i == v.size()) return false;
    long long value = 0;
    for (; i < v.size(); ++i) {
        if (v[i] < '0' || v[i] > '9') return false;
        value = value * 10 + (v[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return false;
    *out = static_cast<int32_t>(value);
    return true;
}

// A keyword from names (its index is the value) or a plain integer.
bool ParseChoice(const std::string& v, const char* const* names, int count, int32_t* out) {
    std::string key = Lower(v);
    for (int i = 0; i < count; ++i)
        if (key == names[i]) {
            *out = i;
            return true;
        }
    return ParseInt(v, out);
}

struct Context {
    JobDescription* job;
    FaxRecipient* recipient;  // the current [recipient], or null
    std::string key;
    std::string error;

    bool Fail(const std::string& why) {
        error = "'" + key + "': " + why;
        return false;
    }
    bool Text(char* dest, size_t size, const std::string& v) {
        if (v.size() > size - 1)
            return Fail("\"" + v + "\" is " + std::to_string(v.size()) +
                        " characters; the field holds at most " + std::to_string(size - 1));
        std::memset(dest, 0, size);
        std::memcpy(dest, v.data(), v.size());
        return true;
    }
    bool Int(int32_t* dest, const std::string& v) {
        return ParseInt(v, dest) || Fail("\"" + v + "\" is not a whole number");
    }
    bool Choice(int32_t* dest, const std::string& v, const char* const* names, int count) {
        if (ParseChoice(v, names, count, dest)) return true;
        std::string list;
        for (int i = 0; i < count; ++i) list += (i ? ", " : "") + std::string(names[i]);
        return Fail("\"" + v + "\" is not one of " + list + " or a number");
    }
    bool Flag(int32_t* dest, const std::string& v) {
        static const char* const names[] = {"no", "yes"};
        return Choice(dest, v, names, 2);
    }
};

typedef bool (*Setter)(Context&, const std::string&);
struct Key {
    const char* name;
    Setter set;
};

const char* const kJobTypes[] = {"print", "secure", "proof", "fax"};
const char* const kResolutions[] = {"normal", "fine", "superfine", "ultrafine"};
const char* const kReports[] = {"on", "onerror", "off"};
const char* const kOnOff[] = {"off", "on"};
const char* const kModes[] = {"g3", "f4800", "g4"};

bool SetDelay(Context& c, const std::string& v) {
    FaxSS& ss = c.job->ss;
    if (Lower(v) == "none" || v.empty()) {
        ss.delaySend = 0;
        ss.delayHour = ss.delayMinute = 0;
        return true;
    }
    // H:MM or HH:MM, 0:00 to 23:59.
    size_t colon = v.find(':');
    bool shape = (colon == 1 || colon == 2) && v.size() == colon + 3;
    for (size_t i = 0; shape && i < v.size(); ++i)
        if (i != colon && !std::isdigit(static_cast<unsigned char>(v[i]))) shape = false;
    int32_t hour = 0, minute = 0;
    if (!shape || !ParseInt(v.substr(0, colon), &hour) || !ParseInt(v.substr(colon + 1), &minute) ||
        hour > 23 || minute > 59)
        return c.Fail("\"" + v + "\" is not a time H:MM from 0:00 to 23:59, nor none");
    ss.delaySend = 1;
    ss.delayHour = hour;
    ss.delayMinute = minute;
    return true;
}

const Key kJobKeys[] = {
    {"type",
     [](Context& c, const std::string& v) {
         if (!c.Choice(&c.job->jobType, v, kJobTypes, 4)) return false;
         c.job->ds.jobMode = c.job->jobType;  // the host keeps the two in step
         return true;
     }},
    {"user", [](Context& c, const std::string& v) {
         return c.Text(c.job->ds.printUserId, sizeof c.job->ds.printUserId, v); }},
    {"password", [](Context& c, const std::string& v) {
         return c.Text(c.job->ds.printPassword, sizeof c.job->ds.printPassword, v); }},
    {"docname", [](Context& c, const std::string& v) {
         return c.Text(c.job->ds.printDocName, sizeof c.job->ds.printDocName, v); }},
    {"appdoc", [](Context& c, const std::string& v) {
         return c.Text(c.job->appDocName, sizeof c.job->appDocName, v); }},
    {"account", [](Context& c, const std::string& v) {
         return c.Text(c.job->accountUser, sizeof c.job->accountUser, v); }},
    {"clientid", [](Context& c, const std::string& v) {
         return c.Text(c.job->ds.clientId, sizeof c.job->ds.clientId, v); }},
    {"copies", [](Context& c, const std::string& v) { return c.Int(&c.job->copies, v); }},
    {"collate", [](Context& c, const std::string& v) { return c.Int(&c.job->collateMode, v); }},
    {"qtyforce", [](Context& c, const std::string& v) { return c.Int(&c.job->qtyForce, v); }},
    {"optiona", [](Context& c, const std::string& v) { return c.Int(&c.job->optionA, v); }},
    {"optionb", [](Context& c, const std::string& v) { return c.Int(&c.job->optionB, v); }},
    {"outputoption", [](Context& c, const std::string& v) { return c.Int(&c.job->outputOption, v); }},
    {"outputtray", [](Context& c, const std::string& v) { return c.Int(&c.job->outputTray, v); }},
    {"jobmonitor", [](Context& c, const std::string& v) {
         return c.Choice(&c.job->jobMonitor, v, kOnOff, 2); }},
    {"skip", [](Context& c, const std::string& v) { return c.Flag(&c.job->skip, v); }},
    {"faxinstalled", [](Context& c, const std::string& v) { return c.Flag(&c.job->faxInstalled, v); }},
    {"g4", [](Context& c, const std::string& v) { return c.Flag(&c.job->g4Available, v); }},
    {"speeddial999", [](Context& c, const std::string& v) { return c.Flag(&c.job->speedDial999, v); }},
    {"resolution", [](Context& c, const std::string& v) {
         return c.Choice(&c.job->ds.resolution, v, kResolutions, 4); }},
    {"report", [](Context& c, const std::string& v) {
         return c.Choice(&c.job->ds.txReport, v, kReports, 3); }},
    {"header", [](Context& c, const std::string& v) {
         return c.Choice(&c.job->ds.txHeader, v, kOnOff, 2); }},
    {"delay", SetDelay},
};

bool SetOption(Context& c, const std::string& v) {
    std::string o = Lower(v);
    char& option = c.recipient->comm.commOption;
    if (o == "none") option = kCommOptionNone;
    else if (o == "relay") option = kCommOptionRelay;
    else if (o == "mailbox") option = kCommOptionMailbox;
    else return c.Fail("\"" + v + "\" is not one of none, relay, mailbox");
    return true;
}

bool SetRelayPrint(Context& c, const std::string& v) {
    int32_t print = 0;
    if (!c.Flag(&print, v)) return false;
    if (print != 0 && print != 1) return c.Fail("\"" + v + "\" is not yes or no");
    c.recipient->comm.relayPrint = print ? '1' : '0';
    return true;
}

// Destination codes of exactly three characters, separated by blanks or
// commas, at most 20.
bool SetRelayDests(Context& c, const std::string& v) {
    CommSettings& comm = c.recipient->comm;
    std::memset(comm.relayDests, 0, sizeof comm.relayDests);
    int count = 0;
    size_t i = 0;
    while (i < v.size()) {
        if (v[i] == ' ' || v[i] == ',' || v[i] == '\t') {
            ++i;
            continue;
        }
        size_t end = v.find_first_of(" ,\t", i);
        std::string code = v.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (code.size() != static_cast<size_t>(kRelayDestLen))
            return c.Fail("destination \"" + code + "\" is not exactly 3 characters");
        if (count == kMaxRelayDests)
            return c.Fail("more than " + std::to_string(kMaxRelayDests) + " destinations");
        std::memcpy(comm.relayDests + count * kRelayDestLen, code.data(), kRelayDestLen);
        ++count;
        i += code.size();
    }
    comm.relayDestCount = count;
    return true;
}

const Key kRecipientKeys[] = {
    {"name", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->name, sizeof c.recipient->name, v); }},
    {"number", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->faxNumber, sizeof c.recipient->faxNumber, v); }},
    {"speeddial", [](Context& c, const std::string& v) {
         return c.Flag(&c.recipient->comm.speedDial, v); }},
    {"mode", [](Context& c, const std::string& v) {
         return c.Choice(&c.recipient->comm.commMode, v, kModes, 3); }},
    {"option", SetOption},
    {"mailbox", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->comm.mailboxId, sizeof c.recipient->comm.mailboxId, v); }},
    {"mailboxpassword", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->comm.mailboxPassword,
                       sizeof c.recipient->comm.mailboxPassword, v); }},
    {"relaystation", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->comm.relayStationId,
                       sizeof c.recipient->comm.relayStationId, v); }},
    {"relayprint", SetRelayPrint},
    {"relaydests", SetRelayDests},
    {"fcode", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->comm.fCode, sizeof c.recipient->comm.fCode, v); }},
    {"fcodepassword", [](Context& c, const std::string& v) {
         return c.Text(c.recipient->comm.fCodePassword, sizeof c.recipient->comm.fCodePassword,
                       v); }},
};

template <size_t N>
const Key* FindKey(const Key (&keys)[N], const std::string& name) {
    for (const Key& k : keys)
        if (name == k.name) return &k;
    return nullptr;
}

bool ParseLine(Context& c, const std::string& raw) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return true;
    if (Lower(line) == "[recipient]") {
        FaxSS& ss = c.job->ss;
        if (ss.recipientCount == kMaxRecipients) {
            c.error = "more than " + std::to_string(kMaxRecipients) + " recipients";
            return false;
        }
        c.recipient = &ss.recipients[ss.recipientCount++];
        *c.recipient = DefaultRecipient;
        return true;
    }
    if (line[0] == '[') {
        c.error = "unknown section " + line + " (only [recipient] exists)";
        return false;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
        c.error = "expected key = value, found \"" + line + "\"";
        return false;
    }
    c.key = Lower(Trim(line.substr(0, eq)));
    std::string value = Trim(line.substr(eq + 1));
    for (char ch : value)
        if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t') return c.Fail("control character in value");
    const Key* key = c.recipient ? FindKey(kRecipientKeys, c.key) : FindKey(kJobKeys, c.key);
    if (!key) {
        c.error = "unknown key '" + c.key + "'" +
                  (c.recipient ? " in a [recipient] section" : " before the first [recipient]");
        return false;
    }
    return key->set(c, value);
}

}  // namespace

bool ParseJobFile(const std::string& text, JobDescription* job, std::string* error) {
    *job = JobDescription();
    Context c{job, nullptr, "", ""};
    size_t start = 0;
    int lineNo = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNo;
        if (line.find('\0') != std::string::npos) {
            *error = "line " + std::to_string(lineNo) + ": NUL byte in the line";
            return false;
        }
        if (!ParseLine(c, line)) {
            *error = "line " + std::to_string(lineNo) + ": " + c.error;
            return false;
        }
        start = end + 1;
    }
    return true;
}
