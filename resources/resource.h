// Resource numbers and control identifiers shared by the resource script and the code.
// The numbers are the product's own; do not renumber.
#pragma once

// Icons
#define IDI_PROGRAM 128

// Strings
#define IDS_ABOUTBOX 101

// Dialog templates
#define IDD_ABOUTBOX 100

// System menu command of the browser window
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
