#include "io/designfile.h"

#include <QFile>
#include <QSaveFile>

namespace kelvora::io {

std::string readDesignFile(const std::string& path, const DetectorCatalogue& catalogue,
                           DesignFile& out) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return "« " + path + " » : lecture impossible (" + f.errorString().toStdString() + ")";
    const QByteArray bytes = f.read(16 * 1024 * 1024);  // far above any design file
    const std::string e =
        parseDesignFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        catalogue, out);
    return e.empty() ? e : "« " + path + " » : " + e;
}

std::string writeDesignFile(const std::string& path, const DesignFile& file) {
    QSaveFile f(QString::fromStdString(path));
    const std::string bytes = serializeDesignFile(file);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !f.commit())
        return "« " + path + " » : écriture impossible (" + f.errorString().toStdString() + ")";
    return {};
}

}  // namespace kelvora::io
