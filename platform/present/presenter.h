// The presenter: where finished frames go to be seen. The drawing side hands
// over whole frames from any thread; the window thread shows the newest one.
#pragma once

#include <cstdint>
#include <string>

namespace plat {
// Hands over a finished frame (X8R8G8B8, pitch in pixels); copied under a mutex, shown by the
// window thread.
void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels);
// The same with the frame written in place: fnWrite fills the nWidth x
// nHeight pixels at pDst (nPitchPixels apart) under the frame store's lock,
// so a frame reaches the store in one pass and, at an unchanged size,
// without allocating. pDst is the store's own memory, or the window's image
// when the window lent it for frames of this size.
using FrameWriteFn = void (*)(uint32_t* pDst, int nWidth, int nHeight, int nPitchPixels,
                              const void* pContext);
void PresentFrameWith(int nWidth, int nHeight, FrameWriteFn fnWrite, const void* pContext);
// The presenter's thread may sleep outside the frame store: pfnWake runs
// after every frame handed over, on the drawing thread, and must only wake
// it. Null: nobody to wake.
void SetFrameWaker(void (*pfnWake)());
// Empties the frame store: no frame handed over, taken or shown, and frames
// paced by the caller's timer. The store lives as long as the process, so
// whatever starts over on it (a test) starts here.
void ForgetFrames();
// The last frame handed over, as PNG (UTF-8 path); false on failure or when none was presented,
// with the reason in English in *pstrError when given.
bool SaveLastFramePng(const std::string& strPath, std::string* pstrError = nullptr);

// Vertical sync through the window: on (window thread, where the window
// lives) when the presenter can show frames on the display's vertical
// blank. Then a frame handed over is paced by the display: WaitFrameShown
// returns once the window has shown it.
bool SetPresentVSync(bool bOn);
// Whether frames are paced by the display. It goes off by itself when the
// window shows frames much faster than any display we sync with would (a
// hidden window, a driver that only says it waits), and the caller's timer
// takes over.
bool IsPresentVSyncOn();
// Waits until the window has shown the last frame handed over, at most
// nTimeoutMs; false when it was not shown in time (or vertical sync is off).
bool WaitFrameShown(int nTimeoutMs);
}  // namespace plat
