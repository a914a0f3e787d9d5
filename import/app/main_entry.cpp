// The program's entry: the whole import runs from here and the process
// ends after it.
#include <cstdlib>

#include "import_app.h"

#if defined(IMPORT_COMPACT_HANDOFF)
constexpr HandoffLayout kLayout = HandoffLayout::Compact;
#else
constexpr HandoffLayout kLayout = HandoffLayout::Standard;
#endif

namespace {

// The argument text: what follows the program name and the one blank
// after it, so that a text starting with a blank is seen as such.
const char* ArgumentText(const char* line) {
    bool quoted = false;
    while (*line && (quoted || *line != ' ')) {
        if (*line == '"') quoted = !quoted;
        ++line;
    }
    return *line == ' ' ? line + 1 : line;
}

}  // namespace

#if defined(_WIN32)
namespace {

LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
    ReleaseCallerOnExit();
    return EXCEPTION_CONTINUE_SEARCH;
}

void GuardCaller() { SetUnhandledExceptionFilter(OnCrash); }

}  // namespace
#else
#include <csignal>

namespace {

void OnCrash(int sig) {
    ReleaseCallerOnExit();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void GuardCaller() {
    for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTERM}) std::signal(sig, OnCrash);
}

}  // namespace
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The starting dialog must not stay disabled whatever ends the program.
    std::atexit(ReleaseCallerOnExit);
    GuardCaller();
    ImportApp app;
    app.instance = instance;
    app.layout = kLayout;
    RunImport(app, ArgumentText(GetCommandLineA()));
    return 0;
}
