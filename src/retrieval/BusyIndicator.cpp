#include "retrieval/BusyIndicator.h"

#include <mmsystem.h>

#include <array>

#include "app/AppState.h"
#include "app/MessageLoop.h"
#include "retrieval/DecimalSeparator.h"
#include "retrieval/IndicatorFrames.h"
#include "retrieval/OverlayCanvas.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

bool IsRunning(HANDLE thread) {
  DWORD code = 0;
  return GetExitCodeThread(thread, &code) && code == STILL_ACTIVE;
}

void DrawFrame(OverlayCanvas& canvas, const std::array<int32_t, kDotCount>& angles, const std::string& elapsed) {
  canvas.Restore();
  for (int dot = 0; dot < kDotCount; ++dot) {
    canvas.SetBrush(kDotColours[dot]);
    const UnitPoint centre = DotCentre(angles[dot]);
    canvas.DrawEllipse(centre.x - kDotSize / 2, centre.y - kDotSize / 2, kDotSize, kDotSize);
  }
  canvas.DrawOutlinedText(10, 23, 100, 25, "下载中", kWhite, kCentredLine);
  canvas.DrawOutlinedText(10, 49, 100, 25, "请稍等哦", kWhite, kCentredLine);
  canvas.DrawOutlinedText(10, 73, 100, 25, elapsed, kWhite, kCentredLine);
  canvas.Present();
}

}  // namespace

void BusyIndicator(HWND window, HANDLE worker) {
  const uint32_t startTick = timeGetTime();
  RECT client{};
  GetClientRect(window, &client);
  const PixelBox box = IndicatorBox(client.right - client.left, client.bottom - client.top, DpiFactorX, DpiFactorY);
  const char separator = DecimalSeparator();
  {
    OverlayCanvas canvas(window, box.x, box.y, box.width, box.height);
    canvas.SetPen(1, kWhite, PS_SOLID);
    canvas.SetFont("Microsoft YaHei", 14, false, false, false, false);
    std::array<int32_t, kDotCount> angles = kDotStartAngles;
    while (IsRunning(worker)) {
      // Sleeps in the message wait, so the loop costs next to nothing between frames.
      WaitWithMessages(kIndicatorFrameMs);
      for (int32_t& angle : angles) angle = AdvanceDotAngle(angle);
      DrawFrame(canvas, angles, ElapsedText(ElapsedTenths(startTick, timeGetTime()), separator));
    }
  }
  RefreshWindow(window);
}
