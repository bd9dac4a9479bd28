// The blank screen: an empty white window over the whole display that hides the
// design screen while it is torn down and built again.
#pragma once

#include <QWidget>

class frmBlank : public QWidget {
    Q_OBJECT

public:
    explicit frmBlank(QWidget* parent = nullptr);
};
