#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace caldren::gui {

QRect AvailableAreaAt(const QWidget* window, const QPoint& point) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen && window) screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QMargins FrameAllowance(const QWidget* window) {
    if (window->isVisible()) {
        const QRect outer = window->frameGeometry(), inner = window->geometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    }
    const int border = 4;
    const int titleBar = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight),
                                  2 * window->fontMetrics().height());
    return {border, titleBar + border, border, border};
}

QRect BringInside(const QRect& outer, const QRect& area) {
    QRect fitted(outer.topLeft(), outer.size().boundedTo(area.size()));
    if (fitted.right() > area.right()) fitted.moveRight(area.right());
    if (fitted.bottom() > area.bottom()) fitted.moveBottom(area.bottom());
    if (fitted.left() < area.left()) fitted.moveLeft(area.left());
    if (fitted.top() < area.top()) fitted.moveTop(area.top());
    return fitted;
}

void PlaceInside(QWidget* window, const QPoint& at, const QSize& size) {
    const QMargins frame = FrameAllowance(window);
    const QSize extra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QRect wanted(at, size + extra);
    const QRect outer = BringInside(wanted, AvailableAreaAt(window, wanted.center()));
    window->resize((outer.size() - extra).expandedTo(QSize(1, 1)));
    window->move(outer.topLeft());
}

}  // namespace caldren::gui
