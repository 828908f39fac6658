// Resource numbers of the report dialog and the environment dialog.
#pragma once

#define IDD_REPORT 121
#define IDC_REPORT_TEXT 1000
#define IDC_REPORT_OUTCOME 1001
#define IDD_ENVIRONMENT 141
#define IDC_WORKSHOP_NAME 1147
