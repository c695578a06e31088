/* Resource and command ids of the setup. Dialog templates and the side-panel
   bitmap are named resources ("IDD_AGREEMENT", "IDB_KOSMAR"), so they have no
   number here. */
#pragma once

/* Icons */
#define IDI_SETUP 200   /* the program's own icon, on the window class */
#define IDI_FOLDER 201  /* folder list: a subfolder row */
#define IDI_UP 202      /* folder list: the up row */
#define IDI_TARGET 203  /* folder list: the folder to be created */

/* Strings */
#define IDS_AGREEMENT 189  /* the licence agreement text */
#define IDS_APPNAME 301    /* "SETUP": class, caption and menu name */

/* Controls shared by the pages */
#define IDC_PATH 101     /* destination, copy status and group path fields */
#define IDC_BROWSE 100   /* the pages' Browse buttons */

/* Agreement page */
#define IDC_AGREEMENT_TEXT 199

/* Browse dialog */
#define IDC_BROWSE_LABEL 102
#define IDC_FREE_SPACE 103
#define IDC_DRIVES 104
#define IDC_FOLDER_NAME 105
#define IDC_FOLDER_LIST 107

/* Program group browser */
#define IDC_GROUP_LABEL 211
#define IDC_GROUP_LIST 212

/* Copy page */
#define IDC_METER 214

/* Commands the program sends itself */
#define CMD_CLOSE 300
#define CMD_START 4444
#define CMD_START_COPY 4445
