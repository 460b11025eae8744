// The proxy settings dialog: address, port, user name and password of the manual
// proxy. It edits those four texts of the installer's proxySettings and nothing else.
#pragma once

#include <windows.h>

class CInstaller;

// Opens the dialog modally, owned by owner, with its top-left corner at corner
// (screen coordinates). Right-to-left languages get the mirrored template. Returns
// 1 after OK, 0 after Cancel or close.
INT_PTR OpenProxyDialog(HWND owner, CInstaller& installer, POINT corner);

INT_PTR CALLBACK ProxyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the label column as wide as the widest label text and moves the fields,
// the buttons and the dialog's right edge by the difference.
void AlignProxyDialogFields(HWND dialog);
