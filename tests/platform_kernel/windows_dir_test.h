#pragma once
// A test whose directory is the Windows directory too: where profiles and
// the registry's file live.

#include <stdlib.h>

#include "scratch_dir_test.h"

class WindowsDirTest : public ScratchDirTest {
protected:
    void SetUp() override { setenv("FAX_WINDIR", dir.c_str(), 1); }
    void TearDown() override { unsetenv("FAX_WINDIR"); }
};
