// The window-thread side of the presenter: the window of 640x480 client
// pixels that shows the newest frame, through the installed back end's
// presenter (a real window, or none in headless runs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// Opens the (hidden) window. False only when a real window was asked for
// and could not be made.
bool OpenPresenterWindow(int nClientWidth, int nClientHeight);
// Why the window could not be opened, in English.
std::string GetPresenterOpenError();
void ClosePresenterWindow();

void ShowPresenterWindow(bool bFullScreen);
void SetPresenterTitle(const std::string& strTitleUtf8);
void MovePresenterWindow(int x, int y);
bool GetPresenterWindowPosition(int& x, int& y);
// Size of the usable desktop; 640x480 when there is no display.
void GetDesktopSize(int& nWidth, int& nHeight);
// The mouse on the desktop; false without a window.
bool GetCursorPosition(int& x, int& y);

// Shows a frame handed over since the last call (bForce: show the last one
// again, after an expose). Window thread only.
void ServicePresenter(bool bForce);

// Copy of the newest frame; false when none was handed over.
bool CopyLastFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight);

// The window's state for its saved placement: false without a window.
bool IsPresenterMinimised();
bool IsPresenterMaximised();
void MaximisePresenterWindow();

struct DISPLAYFACTS;
// The display as the desktop describes it; false without a display.
bool DescribeDisplay(DISPLAYFACTS& facts);

}  // namespace plat
