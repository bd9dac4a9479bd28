// The design screen's title, which names the design file in use.
#pragma once

#include <QString>

namespace voltra {

// The program's caption, then the design file in use by its name alone, then a mark
// while the design differs from that file (or, with no file, from the design the
// screen opened with).
QString DesignTitle(const QString& caption, const QString& filePath, bool modified);

}  // namespace voltra
