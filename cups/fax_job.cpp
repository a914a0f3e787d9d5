#include "fax_job.h"

#include <cstring>
#include <vector>

#include "phonebook_pick.h"
#include "recipient_text.h"
#include "text_convert.h"

namespace {

struct Keyword {
    const char* name;
    int32_t value;
};
const Keyword kResolutions[] = {{"normal", 0}, {"fine", 1}, {"superfine", 2}, {"ultrafine", 3}};
const Keyword kConfirmations[] = {{"always", 0}, {"onerror", 1}, {"none", 2}};
const Keyword kHeaders[] = {{"on", 1}, {"off", 0}};

// The job's value, else the queue's default, else the job settings'
// default already in 'field'.
template <size_t N>
bool ApplyKeyword(const char* option, const char* jobValue, const std::string& queueDefault,
                  const Keyword (&table)[N], int32_t* field, std::string* error) {
    const char* value = jobValue ? jobValue : (queueDefault.empty() ? nullptr : queueDefault.c_str());
    if (!value) return true;
    for (const Keyword& k : table) {
        if (std::strcmp(k.name, value) == 0) {
            *field = k.value;
            return true;
        }
    }
    std::string allowed;
    for (const Keyword& k : table) allowed += std::string(allowed.empty() ? "" : ", ") + k.name;
    *error = std::string(option) + "=" + value + ": the value is one of " + allowed;
    return false;
}

bool GatherRecipients(int n, cups_option_t* options, const QueueSettings& queue, int speedDialMax,
                      std::vector<FaxRecipient>* all, std::string* error) {
    const char* typed = cupsGetOption("fax-recipients", n, options);
    if (typed && !ParseRecipientList(typed, speedDialMax, all, error)) {
        *error = "fax-recipients: " + *error;
        return false;
    }
    const char* entries = cupsGetOption("fax-entries", n, options);
    if (entries && !SplitListOption(entries).empty()) {
        const char* named = cupsGetOption("fax-phonebook", n, options);
        std::string path = named ? named : queue.phonebook;
        if (path.empty()) {
            *error = "fax-entries: the queue has no phonebook; name one with fax-phonebook";
            return false;
        }
        PhonebookContents book;
        if (!LoadPhonebook(path, &book, error)) return false;
        if (!PickEntries(book, entries, all, error)) {
            *error = "fax-entries: " + *error;
            return false;
        }
    }
    if (all->empty()) {
        *error = "no fax recipients given";
        return false;
    }
    if (all->size() > static_cast<size_t>(kMaxRecipients)) {
        *error = "a fax has at most 50 recipients, " + std::to_string(all->size()) + " given";
        return false;
    }
    return true;
}

}  // namespace

bool ParseDelay(const char* text, int* hour, int* minute) {
    size_t len = std::strlen(text);
    const char* colon = std::strchr(text, ':');
    if (!colon || (colon - text != 1 && colon - text != 2) || len != static_cast<size_t>(colon - text) + 3) return false;
    int h = 0;
    for (const char* p = text; p < colon; ++p) {
        if (*p < '0' || *p > '9') return false;
        h = h * 10 + (*p - '0');
    }
    if (colon[1] < '0' || colon[1] > '9' || colon[2] < '0' || colon[2] > '9') return false;
    int m = (colon[1] - '0') * 10 + (colon[2] - '0');
    if (h > 23 || m > 59) return false;
    *hour = h;
    *minute = m;
    return true;
}

std::string AccountText(const std::string& user, const std::string& computer) {
    std::string text = user + "\\" + computer;
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '"' || c == 0x7F) c = '_';
    }
    return text;
}

bool BuildFaxJob(int n, cups_option_t* options, const QueueSettings& queue, const std::string& account,
                 JobDescription* job, JobKind* kind, std::string* error) {
    *kind = JobKind::Print;
    const bool named = cupsGetOption("fax-recipients", n, options) || cupsGetOption("fax-entries", n, options);
    const char* delay = cupsGetOption("fax-delay", n, options);
    if (!named) {
        if (!delay && !cupsGetOption("fax-phonebook", n, options)) return true;
        *error = "fax options without recipients: give fax-recipients or fax-entries";
        return false;
    }
    *job = JobDescription();
    job->jobType = kJobTypeFax;
    job->ds.jobMode = kJobTypeFax;
    job->speedDial999 = queue.speedDial999 ? 1 : 0;
    std::basic_string<WCHAR> wide;
    if (Utf8ToWideText(account, &wide)) WideToAnsiField(wide.c_str(), wide.size() + 1, job->accountUser, sizeof job->accountUser);

    if (!ApplyKeyword("fax-resolution", cupsGetOption("fax-resolution", n, options), queue.resolution, kResolutions,
                      &job->ds.resolution, error) ||
        !ApplyKeyword("fax-confirmation", cupsGetOption("fax-confirmation", n, options), queue.confirmation,
                      kConfirmations, &job->ds.txReport, error) ||
        !ApplyKeyword("fax-header", cupsGetOption("fax-header", n, options), queue.header, kHeaders,
                      &job->ds.txHeader, error))
        return false;
    if (delay) {
        int hour = 0, minute = 0;
        if (!ParseDelay(delay, &hour, &minute)) {
            *error = std::string("fax-delay=") + delay + ": the time is HH:MM from 00:00 to 23:59";
            return false;
        }
        job->ss.delaySend = 1;
        job->ss.delayHour = hour;
        job->ss.delayMinute = minute;
    }
    std::vector<FaxRecipient> all;
    if (!GatherRecipients(n, options, queue, queue.speedDial999 ? 999 : 200, &all, error)) return false;
    job->ss.recipientCount = static_cast<int32_t>(all.size());
    for (size_t i = 0; i < all.size(); ++i) job->ss.recipients[i] = all[i];
    *kind = JobKind::Fax;
    return true;
}
