#pragma once
// The routines faxrender exports by name. All use the standard Windows
// calling convention except SPRINTF, which is variadic.

#include <cstdarg>
#include <cstdint>

#include "addon.h"
#include "callconv.h"
#include "fax_settings.h"

// Time fields as the graphics engine fills them, all 16-bit.
struct EngTimeFields {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
    uint16_t weekday;
};
static_assert(sizeof(EngTimeFields) == 16, "EngTimeFields size");
static_assert(offsetof(EngTimeFields, hour) == 6, "EngTimeFields.hour");
static_assert(offsetof(EngTimeFields, weekday) == 14, "EngTimeFields.weekday");

extern "C" {
FAX_EXPORT const AddOnTable* FAXAPI GetFuncTable(void);
FAX_EXPORT const char* const* FAXAPI ModuleInfo(void);
FAX_EXPORT const AddonMCB* FAXAPI GetFaxAddonMCB(const HostDriverContext* host);
FAX_EXPORT void FAXAPI AddOnWriteCallback(void* host, void* out, void* settings, void* unused4,
                                          int32_t moduleId, int32_t event, int32_t skip,
                                          FaxDS* ds, void* unused9);

FAX_EXPORT void FAXAPI DoFaxNumParam(const FaxRecipient* recipient, char* out);
FAX_EXPORT void FAXAPI DecodeFaxNum(const char* source, char* dest);
FAX_EXPORT void FAXAPI padzeroA(char* buffer, int32_t length, int32_t width);

FAX_EXPORT int32_t FAXAPI DoTimeString(char* buffer);
FAX_EXPORT void FAXAPI EngQueryLocalTime(EngTimeFields* fields);
FAX_EXPORT int32_t FAXCDECL SPRINTF(char* buffer, const char* format, ...);
FAX_EXPORT int32_t FAXAPI VSPRINTF(char* buffer, const char* format, va_list args);
FAX_EXPORT void FAXAPI CopyStringA(char* dest, const char* source, int32_t size);
FAX_EXPORT void FAXAPI memcpyn(void* dest, const void* source, int32_t count);
FAX_EXPORT int32_t FAXAPI ASCIIstrlen(const char* text);
}
