// The presenter window calls, handed to the installed back end's presenter.
#include "platform/present/presenter_window.h"

#include "platform/backend/backend.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_service.h"

namespace plat {

namespace {

cPresenterService& Presenter() { return *GetBackend().pPresenter; }

}  // namespace

bool OpenPresenterWindow(int nClientWidth, int nClientHeight) {
  return Presenter().Open(nClientWidth, nClientHeight);
}

std::string GetPresenterOpenError() { return Presenter().GetOpenError(); }

void ClosePresenterWindow() {
  SetPresentVSync(false);
  Presenter().Close();
}

void ShowPresenterWindow(bool bFullScreen) { Presenter().Show(bFullScreen); }

void SetPresenterTitle(const std::string& strTitleUtf8) { Presenter().SetTitle(strTitleUtf8); }

void MovePresenterWindow(int x, int y) { Presenter().Move(x, y); }

bool GetPresenterWindowPosition(int& x, int& y) { return Presenter().GetPosition(x, y); }

void GetDesktopSize(int& nWidth, int& nHeight) {
  if (Presenter().GetDesktopSize(nWidth, nHeight)) return;
  nWidth = 640;
  nHeight = 480;
}

bool GetCursorPosition(int& x, int& y) { return Presenter().GetCursorPosition(x, y); }

void ServicePresenter(bool bForce) {
  Presenter().Refresh(bForce);
  NoteFramesShown();
}

bool IsPresenterMinimised() { return Presenter().IsMinimised(); }

bool IsPresenterMaximised() { return Presenter().IsMaximised(); }

void MaximisePresenterWindow() { Presenter().Maximise(); }

bool DescribeDisplay(DISPLAYFACTS& facts) { return Presenter().DescribeDisplay(facts); }

}  // namespace plat
