// The title that names the file in use.
#include "screens/design/design_title.h"

#include <QFileInfo>

namespace voltra {

namespace {

constexpr const char* kModifiedMark = " *";

}  // namespace

QString DesignTitle(const QString& caption, const QString& filePath, bool modified)
{
    QString title = caption;
    if (!filePath.isEmpty()) title += QStringLiteral(" - ") + QFileInfo(filePath).fileName();
    if (modified) title += QLatin1String(kModifiedMark);
    return title;
}

}  // namespace voltra
