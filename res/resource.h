// Resource numbers shared by the resource script and the program.
#pragma once

#define IDR_MAIN_MENU 106
#define IDR_MAIN_ACCELERATORS 107
#define IDI_MAIN_ICON 111

#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_FILE_NEW 32771
#define IDM_FILE_OPEN 32772
#define IDM_MAKE_DATA 32778
#define IDM_ENVIRONMENT 32779
#define IDM_FILE_SAVE 32780
#define IDM_DATA_BASIC 32781
#define IDM_DATA_BODY 32782
#define IDM_DATA_BOGIE 32783
#define IDM_DATA_CAB 32784
#define IDM_DATA_PANTOGRAPH 32785
#define IDM_DATA_COUPLER 32786
#define IDM_DATA_LIGHT 32787
#define IDM_DATA_SOUND 32788
#define IDM_DATA_OPTION 32789
#define IDM_DATA_HEADMARK 32790
#define IDM_DATA_CONTAINER 32792

// The live preview's popup; numbered apart from the other menus.
#define IDM_LIVE_AUTO 32900
#define IDM_LIVE_BUILD 32901
#define IDM_LIVE_REPORT 32902
#define IDM_FILE_SAVE_AS 32820
// The recently used projects listed in the File menu: eight ids from here.
#define IDM_RECENT_FIRST 32830
