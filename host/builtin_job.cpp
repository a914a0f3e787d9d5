#include "builtin_job.h"

// A fax to three recipients: a plain number, a speed-dial entry, and a relay
// broadcast with an F-code; a second number goes to a secure mailbox.
const char kBuiltinJobFile[] = R"(# faxhost built-in job
type = fax
account = MAIJA\TOIMISTO-PC
appdoc = Kuukausiraportti.doc
jobmonitor = on
clientid = 17.42
resolution = fine
report = onerror
header = on
delay = 18:30

[recipient]
name = Matti Virtanen
number = 09-1234567

[recipient]
name = Toimisto Tampere
number = 12
speeddial = yes

[recipient]
name = Aluekonttori
number = 0-800-FLOWERS
mode = g4
option = relay
relaystation = 12
relayprint = yes
relaydests = 005 0#3
fcode = 1234
fcodepassword = 12*#

[recipient]
name = Johto
number = 091234000
mode = f4800
option = mailbox
mailbox = 25
mailboxpassword = 4321
)";
