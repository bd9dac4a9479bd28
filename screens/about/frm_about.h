// The about screen: the program's name and version, what it is for, its pictures,
// the maker's notices and the licence, in a small modal window.
#pragma once

#include <QDialog>

#include "engine/design_record.h"

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(const DesignRecord& design, QWidget* parent = nullptr);

private:
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* lblCopyright2;
    QLabel* lblCopyright;
    QLabel* lblWebsite;
    QPushButton* cmdExit;
};
