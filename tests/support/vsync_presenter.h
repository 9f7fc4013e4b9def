// A presenter whose window shows frames on a vertical blank, put in place of
// the installed back end's for one test: what the drawing side does when
// the display can pace its frames, without a display.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/null/null_presenter.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_service.h"

class cVSyncPresenter : public plat::null::cNullPresenter {
 public:
  bool SetVSync(bool bOn) override {
    m_bVSync = bOn;
    return bOn;
  }
  void Refresh(bool) override {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    if (plat::TakeNewFrame(pixels, w, h)) ++m_nShown;
  }
  bool m_bVSync = false;
  int m_nShown = 0;
};

// Installs the presenter for as long as it lives, then the back end as it
// was; it starts on an empty frame store, whatever ran before.
class cVSyncPresenterInstalled {
 public:
  cVSyncPresenterInstalled() : m_Old(plat::GetBackend()) {
    plat::ForgetFrames();
    plat::PLATFORMBACKEND backend = m_Old;
    backend.pPresenter = &m_Presenter;
    plat::InstallBackend(backend);
  }
  ~cVSyncPresenterInstalled() { plat::InstallBackend(m_Old); }
  cVSyncPresenterInstalled(const cVSyncPresenterInstalled&) = delete;
  cVSyncPresenterInstalled& operator=(const cVSyncPresenterInstalled&) = delete;

  cVSyncPresenter& Presenter() { return m_Presenter; }

 private:
  plat::PLATFORMBACKEND m_Old;
  cVSyncPresenter m_Presenter;
};
