#pragma once
// Where faxhost finds the add-on modules.

#include <string>

// FAX_RENDER_MODULE when set; otherwise faxrender next to this executable;
// otherwise the one in the build tree this faxhost was built in.
std::string DefaultRenderModulePath();

// FAX_UI_MODULE when set; otherwise faxui next to this executable;
// otherwise the one in the build tree this faxhost was built in.
std::string DefaultUiModulePath();

// The document monitor stand-in next to this executable, not in the
// current directory: the path is registered for other processes to load.
// Otherwise the one in the build tree this faxhost was built in.
std::string DefaultJobwatchLibraryPath();

// 'file' in 'directory' when it is there; otherwise 'built' when that is
// there; otherwise 'file' in 'directory', so an error names where it was
// looked for.
std::string ModuleInDirectory(const std::string& directory, const char* file, const char* built);
