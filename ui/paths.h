#pragma once

#include <QFileInfo>
#include <QString>

namespace kelvora::ui {

// A file name typed without the expected extension gets it.
inline QString withSuffix(const QString& path, const QString& suffix) {
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0) return path;
    return path + QLatin1Char('.') + suffix;
}

}  // namespace kelvora::ui
