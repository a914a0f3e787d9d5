#pragma once
// A recipient as a test names it: name and fax number, every other field
// as a new recipient has it.

#include <cstring>
#include <stdexcept>
#include <string>

#include "fax_settings.h"

// A text too long for its field is the test's own mistake: refused, not
// cut, so the test never checks a value other than the one it wrote.
inline FaxRecipient Recipient(const std::string& name, const std::string& fax) {
    FaxRecipient r = DefaultRecipient;
    if (name.size() >= sizeof r.name || fax.size() >= sizeof r.faxNumber)
        throw std::length_error("recipient fields hold 30 characters: " + name + " <" + fax + ">");
    std::memcpy(r.name, name.c_str(), name.size() + 1);
    std::memcpy(r.faxNumber, fax.c_str(), fax.size() + 1);
    return r;
}
