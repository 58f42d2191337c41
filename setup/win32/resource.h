// Resource numbers and control ids of setup.exe.
#pragma once

// Bitmaps: the directory chooser's tree images and the welcome picture.
#define IDB_FOLDER_OPEN 106
#define IDB_FOLDER_CLOSED 107
#define IDB_DRIVE 108
#define IDB_WELCOME 111

// Progress and search windows.
#define IDC_STATUS 1001
#define IDC_PROGRESS 1003

// Welcome dialog (STARTINSTALL).
#define IDC_INTRO 0
#define IDC_DESTINATION 1014
#define IDC_CHANGE_DESTINATION 1015

// Directory chooser (GETDIRDEST) and its new-directory box (NEWDIR).
#define IDC_NEW_DIRECTORY 1008
#define IDC_PATH_LABEL 1009
#define IDC_TREE 1012
#define IDC_NEW_NAME 1013

// Agreement dialog (LICENCE) and choice dialog (SETUPTYPE).
#define IDC_LICENCE_TEXT 1016
#define IDC_CHOICES 1019
