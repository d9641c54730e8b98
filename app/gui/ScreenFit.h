// ScreenFit: every window inside the screen it opens on.
//
// A window's place and size (a saved placement, the size its contents want) are brought
// inside the free area of the screen that holds the window's middle, frame and title bar
// included: no larger than that area, and moved in where they would stick out. A window
// that is not shown yet has no frame; the window manager's is then estimated (a title bar
// and a thin border).
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace caldren::gui {

// The free area (without the desktop's panels) of the screen that holds `point`, else of
// the window's screen, else of the primary screen.
QRect AvailableAreaAt(const QWidget* window, const QPoint& point);

// What the window manager puts around the window: its frame once shown, else an estimate.
QMargins FrameAllowance(const QWidget* window);

// A window's outer rectangle (frame included) no larger than `area` and inside it.
QRect BringInside(const QRect& outer, const QRect& area);

// Places the window with its frame at `at` and its inside `size`, both brought inside the
// screen it opens on.
void PlaceInside(QWidget* window, const QPoint& at, const QSize& size);

}  // namespace caldren::gui
