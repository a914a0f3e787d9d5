// File storage of the profile and registry calls. The parsers accept any
// bytes: malformed lines are skipped, never trusted.

#include "posix/kernel/store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "posix/kernel/file.h"
#include "posix/kernel/text.h"
#include "posix/win_kernel.h"

namespace kernel {

bool ReadWholeFile(const std::string& hostPath, std::string& content) {
    content.clear();
    int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    char buffer[16384];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        content.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

DWORD ReplaceWholeFile(const std::string& hostPath, const std::string& content) {
    std::string temp = hostPath + ".new" + std::to_string(getpid());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno);
    DWORD error = 0;
    for (size_t done = 0; done < content.size() && !error;) {
        ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno != EINTR) error = ErrorFromErrno(errno);
        if (n > 0) done += static_cast<size_t>(n);
    }
    if (!error && fsync(fd) != 0) error = ErrorFromErrno(errno);
    close(fd);
    if (!error && rename(temp.c_str(), hostPath.c_str()) != 0) error = ErrorFromErrno(errno);
    if (error) {
        unlink(temp.c_str());
        return error;
    }
    SyncParent(hostPath);
    return ERROR_SUCCESS;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToUpper(Cp1252ToWide(static_cast<unsigned char>(a[i]))) != ToUpper(Cp1252ToWide(static_cast<unsigned char>(b[i]))))
            return false;
    return true;
}

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// "[name]" -> name; false for any other line.
bool SectionOf(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t[0] != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return true;
}

// Index range [begin, end) of the body of the first section with the name.
bool SectionRange(const IniFile& ini, const std::string& section, size_t& begin, size_t& end) {
    std::string name;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        if (!SectionOf(ini.lines[i], name) || !SameName(name, section)) continue;
        begin = i + 1;
        end = begin;
        while (end < ini.lines.size() && !SectionOf(ini.lines[end], name)) ++end;
        return true;
    }
    return false;
}

}  // namespace

IniFile ParseIni(const std::string& content) {
    IniFile ini;
    size_t start = 0;
    while (start < content.size()) {
        size_t nl = content.find('\n', start);
        if (nl == std::string::npos) nl = content.size();
        std::string line = content.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ini.lines.push_back(line);
        start = nl + 1;
    }
    return ini;
}

std::string SerializeIni(const IniFile& ini) {
    std::string out;
    for (const std::string& line : ini.lines) out += line + "\r\n";
    return out;
}

std::vector<std::string> IniSections(const IniFile& ini) {
    std::vector<std::string> out;
    std::string name;
    for (const std::string& line : ini.lines) {
        if (!SectionOf(line, name)) continue;
        bool seen = false;
        for (const std::string& s : out) seen = seen || SameName(s, name);
        if (!seen) out.push_back(name);
    }
    return out;
}

std::vector<std::string> IniKeys(const IniFile& ini, const std::string& section) {
    std::vector<std::string> out;
    size_t begin, end;
    if (!SectionRange(ini, section, begin, end)) return out;
    std::string key, value;
    for (size_t i = begin; i < end; ++i)
        if (KeyOf(ini.lines[i], key, value)) out.push_back(key);
    return out;
}

bool IniGet(const IniFile& ini, const std::string& section, const std::string& key, std::string& value) {
    size_t begin, end;
    if (!SectionRange(ini, section, begin, end)) return false;
    std::string k;
    for (size_t i = begin; i < end; ++i)
        if (KeyOf(ini.lines[i], k, value) && SameName(k, key)) return true;
    return false;
}

void IniSet(IniFile& ini, const std::string& section, const std::string* key, const std::string* value) {
    size_t begin, end;
    bool found = SectionRange(ini, section, begin, end);
    if (!key) {  // delete the section with its header
        if (found)
            ini.lines.erase(ini.lines.begin() + static_cast<std::ptrdiff_t>(begin - 1),
                            ini.lines.begin() + static_cast<std::ptrdiff_t>(end));
        return;
    }
    if (!found) {
        if (!value) return;
        if (!ini.lines.empty() && !Trim(ini.lines.back()).empty()) ini.lines.push_back("");
        ini.lines.push_back("[" + section + "]");
        ini.lines.push_back(*key + "=" + *value);
        return;
    }
    std::string k, v;
    for (size_t i = begin; i < end; ++i) {
        if (!KeyOf(ini.lines[i], k, v) || !SameName(k, *key)) continue;
        if (value) ini.lines[i] = k + "=" + *value;
        else ini.lines.erase(ini.lines.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
    if (!value) return;
    size_t at = end;
    while (at > begin && Trim(ini.lines[at - 1]).empty()) --at;  // before trailing blank lines
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(at), *key + "=" + *value);
}

// ---- Registry text: a subset of the .reg format ---------------------------
//   [HKEY_LOCAL_MACHINE\Software\Vendor]
//   @="default value"
//   "Name"="text with \\ and \" escaped"
//   "Path"=expand:"%WINDIR%\\x"
//   "Count"=dword:0000002a
//   "Blob"=hex:01,02,ff

namespace {

bool ParseQuoted(const std::string& s, size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    out.clear();
    for (++i; i < s.size(); ++i) {
        if (s[i] == '"') {
            ++i;
            return true;
        }
        if (s[i] == '\\' && i + 1 < s.size()) ++i;
        out.push_back(s[i]);
    }
    return false;
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseValueLine(const std::string& line, RegValue& v) {
    size_t i = 0;
    if (line.empty()) return false;
    if (line[0] == '@') {
        v.name.clear();
        i = 1;
    } else if (!ParseQuoted(line, i, v.name)) {
        return false;
    }
    if (i >= line.size() || line[i] != '=') return false;
    std::string rest = line.substr(i + 1);
    size_t j = 0;
    if (rest.compare(0, 6, "dword:") == 0) {
        std::string hex = rest.substr(6);
        if (hex.empty() || hex.size() > 8) return false;
        uint32_t n = 0;
        for (char c : hex) {
            int d = HexDigit(c);
            if (d < 0) return false;
            n = (n << 4) | static_cast<uint32_t>(d);
        }
        v.type = REG_DWORD;
        v.data.assign(reinterpret_cast<const char*>(&n), 4);  // stored little-endian
        return true;
    }
    if (rest.compare(0, 4, "hex:") == 0) {
        v.type = REG_BINARY;
        v.data.clear();
        std::string hex = rest.substr(4);
        for (size_t k = 0; k < hex.size(); k += 3) {
            if (k + 2 > hex.size()) return false;
            int hi = HexDigit(hex[k]), lo = HexDigit(hex[k + 1]);
            if (hi < 0 || lo < 0 || (k + 2 < hex.size() && hex[k + 2] != ',')) return false;
            v.data.push_back(static_cast<char>(hi * 16 + lo));
        }
        return true;
    }
    v.type = REG_SZ;
    if (rest.compare(0, 7, "expand:") == 0) {
        v.type = REG_EXPAND_SZ;
        j = 7;
    }
    return ParseQuoted(rest, j, v.data);
}

}  // namespace

Registry ParseRegistry(const std::string& content) {
    Registry reg;
    IniFile lines = ParseIni(content);
    RegKey* current = nullptr;
    for (const std::string& raw : lines.lines) {
        std::string line = Trim(raw);
        if (line.size() >= 2 && line[0] == '[' && line.back() == ']') {
            std::string path = line.substr(1, line.size() - 2);
            current = FindKey(reg, path);
            if (!current) {
                reg.keys.push_back(RegKey{path, {}});
                current = &reg.keys.back();
            }
            continue;
        }
        RegValue v;
        if (!current || !ParseValueLine(line, v)) continue;
        bool replaced = false;
        for (RegValue& old : current->values)
            if (!replaced && SameUtf8Name(old.name, v.name)) {
                old = v;
                replaced = true;
            }
        if (!replaced) current->values.push_back(v);
    }
    return reg;
}

std::string SerializeRegistry(const Registry& reg) {
    std::string out;
    for (const RegKey& key : reg.keys) {
        out += "[" + key.path + "]\n";
        for (const RegValue& v : key.values) {
            out += v.name.empty() ? "@=" : Quote(v.name) + "=";
            if (v.type == REG_DWORD && v.data.size() == 4) {
                uint32_t n;
                std::copy(v.data.begin(), v.data.end(), reinterpret_cast<char*>(&n));
                char hex[16];
                std::snprintf(hex, sizeof hex, "dword:%08x", n);
                out += hex;
            } else if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
                out += (v.type == REG_EXPAND_SZ ? "expand:" : "") + Quote(v.data);
            } else {
                out += "hex:";
                for (size_t i = 0; i < v.data.size(); ++i) {
                    char hex[4];
                    std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", static_cast<unsigned char>(v.data[i]));
                    out += hex;
                }
            }
            out += "\n";
        }
        out += "\n";
    }
    return out;
}

bool SameUtf8Name(const std::string& a, const std::string& b) {
    std::u16string wa = Utf8ToWide(a), wb = Utf8ToWide(b);
    if (wa.size() != wb.size()) return false;
    for (size_t i = 0; i < wa.size(); ++i)
        if (ToUpper(wa[i]) != ToUpper(wb[i])) return false;
    return true;
}

RegKey* FindKey(Registry& reg, const std::string& path) {
    for (RegKey& key : reg.keys)
        if (SameUtf8Name(key.path, path)) return &key;
    return nullptr;
}

}  // namespace kernel
