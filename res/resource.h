// Dialog templates of Tallorix.vlf and the IDs of their controls.
#ifndef TALLORIX_RES_RESOURCE_H
#define TALLORIX_RES_RESOURCE_H

#define IDD_OPTIONS 101
#define IDD_HELP 102

// Options dialog (IDD_OPTIONS); IDOK and IDCANCEL are its OK and Cancel.
#define IDC_ASCENDING 1000
#define IDC_DESCENDING 1002
#define IDC_COLLAPSE_BLANKS 1003
#define IDC_NUMERIC 1004
#define IDC_IGNORE_CASE 1005
#define IDC_UNICODE 1007
#define IDC_ORDER_FILE 1008
#define IDC_ORDER_PATH 1009
#define IDC_BROWSE 1010
#define IDC_DICTIONARY 1011
#define IDC_SHOW_HELP 339

// Help dialog (IDD_HELP); IDOK is its close button.
#define IDC_HELP_TEXT 1006

#endif
