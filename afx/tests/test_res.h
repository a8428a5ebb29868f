// Ids of the test resources.
#pragma once
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDS_GBK_OK 1
#define IDS_FORMAT 2
#define IDR_TESTFRAME 128
#define IDD_SAMPLE 100
#define IDD_FORM 101
#define IDD_MODELESS 102
#define IDD_BAR 103
#define IDC_NAME 1001
#define IDC_CHECK 1002
#define IDC_RADIO1 1003
#define IDC_RADIO2 1004
#define IDC_RADIO3 1005
#define IDC_COMBO 1006
#define IDC_NUMBER 1007
#define IDC_FORMBUTTON 1101
#define IDC_FORMEDIT 1102
