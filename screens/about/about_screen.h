// The about screen: the program's name and version, what it is for, its pictures,
// the maker's notices and the licence, in a small modal window.
#pragma once

#include <QDialog>

#include "engine/design_record.h"

class QLabel;
class QPushButton;

namespace voltra {

class AboutScreen : public QDialog {
    Q_OBJECT

public:
    explicit AboutScreen(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    QLabel* titleLabel_;
    QLabel* versionLabel_;
    QLabel* descriptionLabel_;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* legalLabel_;
    QLabel* noticeLabel_;
    QLabel* webLabel_;
    QPushButton* exitButton_;
};

}  // namespace voltra
