#include "app/message_box_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace voltra {

void MessageBoxSink::ShowMessage(const std::string& text, const std::string& title)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void MessageBoxSink::Beep() { QApplication::beep(); }

}  // namespace voltra
