#pragma once
// Where faxhost finds the render add-on when no --module is given.

#include <string>

// FAX_RENDER_MODULE when set; otherwise faxrender next to this executable;
// otherwise the one in the build tree this faxhost was built in.
std::string DefaultRenderModulePath();

// FAX_UI_MODULE when set; otherwise faxui next to this executable;
// otherwise the one in the build tree this faxhost was built in.
std::string DefaultUiModulePath();
