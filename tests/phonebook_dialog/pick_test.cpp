#include "dialog_fixture.h"
