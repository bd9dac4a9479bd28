// The blank screen: an empty white window over the whole display that hides the
// design screen while it is torn down and built again.
#pragma once

#include <QWidget>

namespace voltra {

class BlankScreen : public QWidget {
    Q_OBJECT

public:
    explicit BlankScreen(QWidget* parent = nullptr);
};

}  // namespace voltra
