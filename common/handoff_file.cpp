#include "handoff_file.h"

#include <cstring>
#include <vector>

HandoffWrite WriteRecipientImportFile(const char* path, HandoffLayout layout, int command,
                                      const FaxRecipient* recipients, size_t count) {
    size_t countSize = HandoffCountSize(layout);
    size_t recSize = HandoffRecordSize(layout, command);
    if (layout == HandoffLayout::Compact ? count > 0xFFFF : count > 0x7FFFFFFF) return HandoffWrite::Failed;
    std::vector<uint8_t> bytes(countSize + count * recSize);
    uint32_t n = static_cast<uint32_t>(count);
    for (size_t i = 0; i < countSize; ++i) bytes[i] = static_cast<uint8_t>(n >> (8 * i));
    for (size_t i = 0; i < count; ++i)
        EncodeHandoffRecord(layout, command, recipients[i], bytes.data() + countSize + i * recSize);

    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS ? HandoffWrite::Clash : HandoffWrite::Failed;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    ok = ok && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (!ok) {
        // The file is ours (created just now); a partial one must not be read.
        DeleteFileA(path);
        return HandoffWrite::Failed;
    }
    return HandoffWrite::Written;
}

int ReadRecipientImportFile(const char* path, HandoffLayout layout, int command, FaxRecipient* out, int maxCount) {
    HANDLE h = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    size_t countSize = HandoffCountSize(layout);
    size_t recSize = HandoffRecordSize(layout, command);
    DWORD high = 0;
    DWORD size = GetFileSize(h, &high);
    if (size == INVALID_FILE_SIZE || high != 0) size = 0;
    uint8_t countBytes[4] = {0, 0, 0, 0};
    DWORD got = 0;
    int64_t claimed = 0;
    if (ReadFile(h, countBytes, static_cast<DWORD>(countSize), &got, nullptr) && got == countSize) {
        uint32_t v = 0;
        for (size_t i = 0; i < countSize; ++i) v |= static_cast<uint32_t>(countBytes[i]) << (8 * i);
        claimed = layout == HandoffLayout::Compact ? static_cast<int64_t>(v) : static_cast<int32_t>(v);
    }
    int64_t present = size > countSize ? static_cast<int64_t>((size - countSize) / recSize) : 0;
    int64_t n = claimed < 0 ? 0 : claimed;
    if (n > present) n = present;
    if (n > maxCount) n = maxCount < 0 ? 0 : maxCount;
    std::vector<uint8_t> rec(recSize);
    int done = 0;
    for (; done < n; ++done) {
        got = 0;
        if (!ReadFile(h, rec.data(), static_cast<DWORD>(recSize), &got, nullptr) || got != recSize) break;
        out[done] = DecodeHandoffRecord(layout, command, rec.data());
    }
    CloseHandle(h);
    DeleteFileA(path);
    return done;
}

std::string ChooseHandoffPath(const std::string& root, const SYSTEMTIME& now) {
    for (int attempt = 0; attempt <= 26; ++attempt) {
        std::string path = HandoffPath(root, now.wHour, now.wMinute, now.wSecond, attempt);
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    }
    return std::string();
}

bool PostImportCompletion(HWND dialog, int command) {
    if (!dialog) return false;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, 0), 0) != FALSE;
}
