// The window-thread side of the presenter: the SDL window of 640x480 client
// pixels that shows the newest frame integer-scaled and letterboxed, windowed
// or in desktop full screen. Headless runs keep frames in memory only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// Opens the (hidden) window, or the null presenter when bHeadless is set or
// no video device can be had. False only when a real window was asked for
// and could not be made.
bool OpenPresenterWindow(bool bHeadless, int nClientWidth, int nClientHeight);
bool IsPresenterHeadless();
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

}  // namespace plat

namespace plat {
// The window's state for its saved placement: false without a window.
bool IsPresenterMinimised();
bool IsPresenterMaximised();
void MaximisePresenterWindow();
}  // namespace plat
