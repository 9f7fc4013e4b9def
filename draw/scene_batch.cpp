// The Direct3D scene bracket, render-target switches and the two batches.
// The sprite batch sorts queued blits by registered source and draws runs of
// equal state together; the fill batch draws runs of fills per record.
#include "draw/scene_batch.h"

#include <algorithm>

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/quad_build.h"
#include "platform/gfx/fault_hooks.h"

using plat::gfx::eFaultPoint;
using plat::gfx::Failed;
using plat::gfx::TakeFault;

DDSPRITEBATCH SpriteBatch;
DDFILLBATCH FillBatch;

int DDBeginScene() {
  if (!g_DD.lpDevice || !g_DD.lpDTCon) return 0;
  if (g_DD.lpDTCon->bInScene) return 1;
  plat::gfx::eGfxResult hr = g_DD.lpDevice->BeginScene();
  if (Failed(hr)) {
    ReportFDebug("BeginScene Err %x", plat::gfx::GetResultCode(hr));
    return 0;
  }
  g_DD.lpDTCon->bInScene = 1;
  return 1;
}

void DDEndScene() {
  if (g_DD.lpDevice && g_DD.lpDTCon && g_DD.lpDTCon->bInScene) {
    g_DD.lpDevice->EndScene();
    g_DD.lpDTCon->bInScene = 0;
  }
}

int DDSetRenderTarget(int, DDSURFACEDATA* lpSD) {
  if (!g_DD.lpDevice || !lpSD || !lpSD->lpDT || !lpSD->lpDT->bRenderTarget) return 0;
  plat::gfx::eGfxResult hr = lpSD->lpDT->lpSurface
                                 ? g_DD.lpDevice->SetRenderTarget(lpSD->lpDT->lpSurface.get())
                                 : plat::gfx::eGfxResult::InvalidCall;
  if (Failed(hr)) {
    ReportFDebug("SetRenderTarget Err %x (%s)", plat::gfx::GetResultCode(hr), lpSD->szFileName);
    return 0;
  }
  return 1;
}

void DDBatchBegin(int bSort) {
  if (!g_DD.lpDTCon) return;
  SpriteBatch.bActive = 1;
  SpriteBatch.bSort = bSort;
  SpriteBatch.Queue.clear();
  SpriteBatch.Registrations.clear();
  SpriteBatch.nCounter = 0;
}

void DDBatchRegister(DDSURFACEDATA* lpSD) {
  if (!g_DD.lpDTCon || !SpriteBatch.bActive || !SpriteBatch.bSort) return;
  for (const auto& reg : SpriteBatch.Registrations)
    if (reg.first == lpSD) return;
  const int nBase = 100000 * (static_cast<int>(SpriteBatch.Registrations.size()) + 1);
  SpriteBatch.Registrations.emplace_back(lpSD, nBase);
}

void DDBatchQueue(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                  DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                  int nFlags) {
  const DTCONDATA& con = *g_DD.lpDTCon;
  int nBase = 0;
  if (SpriteBatch.bSort) {
    for (const auto& reg : SpriteBatch.Registrations)
      if (reg.first == lpSrcSD) nBase = reg.second;
  }
  // Filled in place: a record built aside and copied in stalled on its
  // own fresh stores.
  DDBLTQUAD& q = SpriteBatch.Queue.emplace_back();
  q.nKey = nBase + SpriteBatch.nCounter++;
  q.lpDstSD = lpDstSD;
  q.lpSrcSD = lpSrcSD;
  q.x = x;
  q.y = y;
  q.nWidth = nWidth;
  q.nHeight = nHeight;
  q.nSrcX = nSrcX;
  q.nSrcY = nSrcY;
  q.nSrcWidth = nSrcWidth;
  q.nSrcHeight = nSrcHeight;
  q.nFlags = nFlags;
  q.dwDiffuse = con.dwBltColor;
  q.nColorOp = con.nColorOp;
  q.nAlphaOp = con.nAlphaOp;
  q.nReserved = 0;
}

namespace {

bool SameRun(const DDBLTQUAD& a, const DDBLTQUAD& b) {
  return a.lpSrcSD == b.lpSrcSD && a.lpDstSD == b.lpDstSD && a.nFlags == b.nFlags &&
         a.dwDiffuse == b.dwDiffuse && a.nColorOp == b.nColorOp && a.nAlphaOp == b.nAlphaOp &&
         a.nReserved == b.nReserved;
}

// The vertex and index buffers of one run: their creation and lock can fail
// like the device's, and the caller drops quads as the failure asks.
enum class eRunBuffers { Ok, CreateFailed, LockFailed };

eRunBuffers MakeRunBuffers() {
  if (TakeFault(eFaultPoint::CreateVertexBuffer)) {
    ReportFDebug("CreateVertexBuffer Err");
    return eRunBuffers::CreateFailed;
  }
  if (TakeFault(eFaultPoint::LockVertexBuffer)) return eRunBuffers::LockFailed;
  // The quads are drawn one by one from the vertex memory, so the index
  // buffer only has to exist and lock.
  if (TakeFault(eFaultPoint::CreateIndexBuffer)) return eRunBuffers::LockFailed;
  if (TakeFault(eFaultPoint::LockIndexBuffer)) return eRunBuffers::LockFailed;
  return eRunBuffers::Ok;
}

}  // namespace

void DDBatchEnd() {
  if (!g_DD.lpDTCon) return;
  DTCONDATA& con = *g_DD.lpDTCon;
  std::vector<DDBLTQUAD>& q = SpriteBatch.Queue;
  // Keys grow with submission, so a queue of one source (or of sources in
  // the order they registered) is in order already and needs no sort.
  const auto byKey = [](const DDBLTQUAD& a, const DDBLTQUAD& b) { return a.nKey < b.nKey; };
  if (SpriteBatch.bSort && !std::is_sorted(q.begin(), q.end(), byKey))
    std::stable_sort(q.begin(), q.end(), byKey);
  size_t i = 0;
  while (i < q.size()) {
    size_t j = i + 1;
    while (j < q.size() && SameRun(q[i], q[j])) ++j;
    const size_t n = j - i;
    DDSURFACEDATA* lpSrc = q[i].lpSrcSD;
    DDSURFACEDATA* lpDst = q[i].lpDstSD;
    eRunBuffers buffers = MakeRunBuffers();
    if (buffers == eRunBuffers::CreateFailed) {
      ++i;  // the run's first quad is dropped; the rest forms a new run
      continue;
    }
    if (buffers == eRunBuffers::LockFailed) {
      i = j;
      continue;
    }
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) {
      ++i;
      continue;
    }
    if (q[i].nFlags == 0 && lpSrc->lpDT && lpSrc->lpDT->bColorKey) {
      const uint32_t dwClear = lpDst == &BackBuffer ? con.dwTransmitColor : con.dwTransparent;
      for (size_t k = 0; k < n; ++k) {
        const DDBLTQUAD& b = q[i + k];
        DDRECT rc = plat::gfx::MakeRect(b.x, b.y, b.nWidth, b.nHeight);
        g_DD.lpDevice->Clear(&rc, 1, dwClear);
      }
    }
    DDSetBltStage(q[i].nColorOp, q[i].nAlphaOp);
    const plat::gfx::cImage* pTexture = lpSrc->lpDT ? lpSrc->lpDT->lpTexture.get() : nullptr;
    g_DD.lpDevice->SetTexture(pTexture);
    // Each quad goes to the device by the integers its vertices are built
    // from (DDDrawBlitQuad builds them only where they are needed).
    if (pTexture && DDDrawsByIntegers(lpSrc, pTexture)) {
      thread_local std::vector<plat::gfx::GFXBLITRECT> rects;
      rects.clear();
      rects.resize(n);
      // Field by field in place: a rectangle built aside and copied in
      // stalled on its own fresh stores.
      for (size_t k = 0; k < n; ++k) {
        const DDBLTQUAD& b = q[i + k];
        plat::gfx::GFXBLITRECT& r = rects[k];
        r.x = b.x;
        r.y = b.y;
        r.nWidth = b.nWidth;
        r.nHeight = b.nHeight;
        r.nSrcX = b.nSrcX;
        r.nSrcY = b.nSrcY;
        r.nSrcWidth = b.nSrcWidth;
        r.nSrcHeight = b.nSrcHeight;
        r.dwDiffuse = b.dwDiffuse;
      }
      g_DD.lpDevice->DrawBlitRects(rects.data(), int(rects.size()));
    } else if (pTexture) {
      for (size_t k = 0; k < n; ++k) {
        const DDBLTQUAD& b = q[i + k];
        DDDrawBlitQuad(lpSrc, pTexture,
                       DDBlitRect(b.x, b.y, b.nWidth, b.nHeight, b.nSrcX, b.nSrcY, b.nSrcWidth,
                                  b.nSrcHeight, b.dwDiffuse),
                       nullptr);
      }
    }
    DDSetRenderTarget(0, con.lpScreenTarget);
    i = j;
  }
  q.clear();
  SpriteBatch.Registrations.clear();
  SpriteBatch.nCounter = 0;
  SpriteBatch.bActive = 0;
}

void DDFillBatchBegin() {
  if (!g_DD.lpDTCon) return;
  FillBatch.bActive = 1;
  FillBatch.Vertices.clear();
  FillBatch.Queue.clear();
}

void DDFillBatchEnd() {
  if (!g_DD.lpDTCon) return;
  DTCONDATA& con = *g_DD.lpDTCon;
  std::vector<DDFILLQUAD>& q = FillBatch.Queue;
  size_t i = 0;
  while (i < q.size()) {
    size_t j = i + 1;
    while (j < q.size() && q[j].lpSD == q[i].lpSD) ++j;
    const size_t n = j - i;
    std::vector<plat::gfx::GFXVERTEX>& v = FillBatch.Vertices;
    v.assign(n * 4, plat::gfx::GFXVERTEX{});
    for (size_t k = 0; k < n; ++k) {
      const DDFILLQUAD& f = q[i + k];
      DDBuildFillQuad(&v[k * 4], f.x, f.y, f.nWidth, f.nHeight, f.dwColor, true);
    }
    eRunBuffers buffers = MakeRunBuffers();
    if (buffers == eRunBuffers::CreateFailed) {
      v.clear();
      ++i;
      continue;
    }
    if (buffers == eRunBuffers::LockFailed || !DDBeginScene() || !DDSetRenderTarget(0, q[i].lpSD)) {
      v.clear();
      i = j;
      continue;
    }
    plat::gfx::GFXTEXTURESTAGE stage;
    stage.nColorOp = plat::gfx::TOP_SELECTARG2;
    stage.nColorArg2 = plat::gfx::TA_DIFFUSE;
    stage.nAlphaOp = plat::gfx::TOP_DISABLE;
    g_DD.lpDevice->SetTextureStage(stage);
    g_DD.lpDevice->SetTexture(WorkSD.lpDT ? WorkSD.lpDT->lpTexture.get() : nullptr);
    for (size_t k = 0; k < n; ++k) g_DD.lpDevice->DrawQuad(&v[k * 4]);
    v.clear();
    DDSetRenderTarget(0, con.lpScreenTarget);
    i = j;
  }
  q.clear();
  FillBatch.bActive = 0;
}
