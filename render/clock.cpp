#include "clock.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "format.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

LocalTimeSource g_source = nullptr;

#if defined(_WIN32)
void SystemLocalTime(EngTimeFields* fields) {
    // The engine's own call, where the process has it; otherwise the same
    // fields from the kernel's local time.
    typedef void(WINAPI * EngTimeFn)(EngTimeFields*);
    static EngTimeFn engine = [] {
        HMODULE gdi = GetModuleHandleA("gdi32.dll");
        return gdi ? reinterpret_cast<EngTimeFn>(
                         reinterpret_cast<void*>(GetProcAddress(gdi, "EngQueryLocalTime")))
                   : nullptr;
    }();
    if (engine) {
        engine(fields);
        return;
    }
    SYSTEMTIME st;
    GetLocalTime(&st);
    fields->year = st.wYear;
    fields->month = st.wMonth;
    fields->day = st.wDay;
    fields->hour = st.wHour;
    fields->minute = st.wMinute;
    fields->second = st.wSecond;
    fields->milliseconds = st.wMilliseconds;
    fields->weekday = st.wDayOfWeek;
}
#else
void SystemLocalTime(EngTimeFields* fields) {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm local {};
    localtime_r(&now.tv_sec, &local);
    fields->year = static_cast<uint16_t>(local.tm_year + 1900);
    fields->month = static_cast<uint16_t>(local.tm_mon + 1);
    fields->day = static_cast<uint16_t>(local.tm_mday);
    fields->hour = static_cast<uint16_t>(local.tm_hour);
    fields->minute = static_cast<uint16_t>(local.tm_min);
    fields->second = static_cast<uint16_t>(local.tm_sec);
    fields->milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
    fields->weekday = static_cast<uint16_t>(local.tm_wday);
    ParseFixedTime(std::getenv("FAX_FIXED_TIME"), fields);
}
#endif

bool TwoDigits(const char* p, int* value) {
    if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9') return false;
    *value = (p[0] - '0') * 10 + (p[1] - '0');
    return true;
}

}  // namespace

void SetLocalTimeSource(LocalTimeSource source) { g_source = source; }

bool ParseFixedTime(const char* text, EngTimeFields* fields) {
    if (!text || !fields) return false;
    size_t len = std::strlen(text);
    int hour = 0, minute = 0, second = 0;
    const char* rest = text;
    if (len == 7 && text[0] >= '0' && text[0] <= '9') {
        hour = text[0] - '0';
        rest = text + 1;
    } else if (len == 8 && TwoDigits(text, &hour)) {
        rest = text + 2;
    } else {
        return false;
    }
    if (rest[0] != ':' || !TwoDigits(rest + 1, &minute) || rest[3] != ':' ||
        !TwoDigits(rest + 4, &second))
        return false;
    if (hour > 23 || minute > 59 || second > 59) return false;
    fields->hour = static_cast<uint16_t>(hour);
    fields->minute = static_cast<uint16_t>(minute);
    fields->second = static_cast<uint16_t>(second);
    fields->milliseconds = 0;
    return true;
}

extern "C" {

void FAXAPI EngQueryLocalTime(EngTimeFields* fields) {
    if (!fields) return;
    std::memset(fields, 0, sizeof *fields);
    if (g_source)
        g_source(fields);
    else
        SystemLocalTime(fields);
}

int32_t FAXAPI DoTimeString(char* buffer) {
    EngTimeFields now;
    EngQueryLocalTime(&now);
    // Longest text: "Time 65535:" and four digits, well under 32.
    return static_cast<int32_t>(FormatBounded(buffer, 32, "Time %d:%d%d:%d%d", now.hour,
                                              now.minute / 10, now.minute % 10, now.second / 10,
                                              now.second % 10));
}

}  // extern "C"
