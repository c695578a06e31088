// The four pages, each a modal dialog owned by the backdrop window.
#pragma once
#include <windows.h>

// 0 goes on; anything else (1 for a cancel or failure, -1 when the dialog
// cannot be made) stops the setup.
typedef INT_PTR PageResult;

PageResult ShowAgreementPage(HWND owner);
PageResult ShowDestinationPage(HWND owner);
PageResult ShowCopyPage(HWND owner);
PageResult ShowGroupPage(HWND owner);

// The page sequence: the handler of CMD_START on the backdrop window.
LRESULT RunPages(HWND window, int id, int code, LPARAM lParam);
