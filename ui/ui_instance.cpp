#include "ui/ui_instance.h"

namespace {
HINSTANCE uiInstance = nullptr;
}

HINSTANCE UiInstance() { return uiInstance ? uiInstance : GetModuleHandleW(nullptr); }

void SetUiInstance(HINSTANCE instance) { uiInstance = instance; }
