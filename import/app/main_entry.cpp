// The program's entry: the whole import runs from here and the process
// ends after it.
#include "import_app.h"

#if defined(IMPORT_COMPACT_HANDOFF)
constexpr HandoffLayout kLayout = HandoffLayout::Compact;
#else
constexpr HandoffLayout kLayout = HandoffLayout::Standard;
#endif

#include <cstdlib>

#if defined(_WIN32)
namespace {

LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
    ReleaseCallerOnExit();
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int) {
    // The starting dialog must not stay disabled whatever ends the program.
    std::atexit(ReleaseCallerOnExit);
    SetUnhandledExceptionFilter(OnCrash);
    ImportApp app;
    app.instance = instance;
    app.layout = kLayout;
    RunImport(app, args);
    return 0;
}
#else
#include <csignal>
#include <string>

namespace {

void OnCrash(int sig) {
    ReleaseCallerOnExit();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

int main(int argc, char** argv) {
    // The starting dialog must not stay disabled whatever ends the program.
    std::atexit(ReleaseCallerOnExit);
    for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTERM}) std::signal(sig, OnCrash);
    // The argument text as the starting command gave it, blanks between.
    std::string args;
    for (int i = 1; i < argc; ++i) args += (i > 1 ? " " : "") + std::string(argv[i]);
    ImportApp app;
    app.instance = GetModuleHandleA(nullptr);
    app.layout = kLayout;
    RunImport(app, args.c_str());
    return 0;
}
#endif
