#pragma once
// "faxhost jobwatch install [LIBRARY]" registers a document monitor (by
// default the stand-in built with faxhost) the way its installer would;
// "faxhost jobwatch uninstall" removes the registration.
int RunJobwatchCommand(int argc, char** argv);
