// Voltra's own application icon, a small Class E stage, in every size the
// window systems ask for; every window of the program carries it.
#pragma once

#include <QIcon>

namespace voltra {

QIcon ProgramIcon();

}  // namespace voltra
