// Notices a top-level window that the display server destroyed from outside the
// program (a window tool, a crashed session manager) and lets the widget go too, so
// the program's own handling of a lost window runs.
#pragma once

#include <QAbstractNativeEventFilter>

namespace voltra {

class LostWindowWatch : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
};

}  // namespace voltra
