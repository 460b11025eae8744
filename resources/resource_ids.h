// Resource numbers shared by the resource script and the code.
#pragma once

#define IDI_PROGRAM 129
#define IDI_PROGRAM_SMALL 130
#define IDB_BACKGROUND 131
#define IDB_GLOBE 134
#define IDB_SHIELD 135
#define IDD_PROXY 136
#define IDD_PROXY_RTL 139

// Proxy dialog controls.
#define IDC_PROXY_ADDRESS_LABEL 340
#define IDC_PROXY_PORT_LABEL 341
#define IDC_PROXY_USER_LABEL 342
#define IDC_PROXY_PASSWORD_LABEL 343
#define IDC_PROXY_ADDRESS 344
#define IDC_PROXY_PORT 345
#define IDC_PROXY_USER 346
#define IDC_PROXY_PASSWORD 347
#define IDC_PROXY_CONFIRM_LABEL 348
#define IDC_PROXY_CONFIRM 349
