// Only X11 lets another client destroy our window; elsewhere the watch sees nothing.
#include "app/lost_window_watch.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

namespace voltra {

namespace {

// The top bit of the response type marks an event another client sent on purpose;
// a destroyed window is reported by the server either way.
constexpr uint8_t kResponseTypeMask = 0x7f;

// Tool tips and pop-up menus come and go on their own: Qt makes, drops and remakes
// their native windows as it places them, and none of them is a window the user
// could lose.
bool Transient(const QWidget& window)
{
    const Qt::WindowType type = window.windowType();
    return type == Qt::ToolTip || type == Qt::Popup;
}

// The native window the widget is on now. The widget's own record of its window id
// can still name one that Qt has already replaced, whose destruction is Qt's own.
WId LiveWindowId(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    // winId() would make a native window for one that has none.
    return handle && handle->handle() ? handle->winId() : 0;
}

}  // namespace

bool LostWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & kResponseTypeMask) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (Transient(*window) || LiveWindowId(*window) != destroyed->window) continue;
        window->deleteLater();
    }
    return false;
}

}  // namespace voltra
