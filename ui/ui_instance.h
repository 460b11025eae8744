// The program instance handle that the user interface loads its resources from and
// creates its windows with. Set once by CreateMainWindow.
#pragma once

#include <windows.h>

HINSTANCE UiInstance();
void SetUiInstance(HINSTANCE instance);
