// Identifiers of relaytool.exe's resources and of the connect dialog's
// controls, shared by the resource script and the code.
#pragma once

#define IDI_RELAYTOOL 1
// The tab icons, in ImageList1's order 0..3.
#define IDI_NETWORK 10
#define IDI_KEYPRESS 11
#define IDI_OTHERS 12
#define IDI_REMOTE 13
#define IDI_CLOSE 20
// The connect dialog's picture for 96, 144 and 192 DPI.
#define IDB_CABLE 30
#define IDB_CABLE_150 31
#define IDB_CABLE_200 32

// TConnectDlg; OKBtn and CancelBtn are IDOK and IDCANCEL.
#define IDD_CONNECTDLG 100
#define IDC_LABEL1 101
#define IDC_EDIT1 102
#define IDC_BEVEL1 103
#define IDC_IMAGE1 104

// The message box; its OK is IDOK.
#define IDD_MESSAGEDLG 200
#define IDC_MESSAGEICON 201
#define IDC_MESSAGETEXT 202
