// Only X11 lets another client destroy our window; elsewhere the watch sees nothing.
#include "app/lost_window_watch.h"

#include <QApplication>
#include <QWidget>
#include <xcb/xcb.h>

namespace voltra {

namespace {

// The top bit of the response type marks an event sent by another client.
constexpr uint8_t kResponseTypeMask = 0x7f;

}  // namespace

bool LostWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & kResponseTypeMask) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // winId() would create a native window for one that has none; only look at
        // windows that have theirs.
        if (!window->testAttribute(Qt::WA_WState_Created) || window->internalWinId() != destroyed->window) continue;
        window->deleteLater();
    }
    return false;
}

}  // namespace voltra
