#pragma once
// Resource identifiers the host looks up by number.
#define IDI_SMOKEDRIFT 100
#define IDD_CONFIGURE 2003
#define IDC_ABOUT_NAME 2004
#define IDC_ABOUT_TEXT 2005
