// The application icon from the pictures compiled into the program.
#include "screens/welcome/program_icon.h"

#include <array>

namespace voltra {

namespace {

constexpr std::array kIconSizes = {16, 24, 32, 48, 64, 128, 256};  // pixels, as rendered under assets/

}  // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : kIconSizes) icon.addFile(QStringLiteral(":/voltra/voltra-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace voltra
