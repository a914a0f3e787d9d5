#pragma once
// Which Win32 a test runs on: the same tests run on our headless layer and,
// built for Windows, under wine.

#if defined(_WIN32)
constexpr bool kHeadless = false;
#else
constexpr bool kHeadless = true;
#endif
// Where wine is known to differ from the documented behaviour, the layer
// follows the documentation and the check runs only against it.
constexpr bool kFollowsDocsOverWine = kHeadless;
// Beeps made inside the system's own controls can be observed only on our
// layer; beeps of our own code are recorded on both.
constexpr bool kSeesControlBeeps = kHeadless;
