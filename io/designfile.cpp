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

namespace {

// A design is never written over a spectrum, a picture or any file that is
// not a design: a path typed wrong must not cost the user that file.
bool replaceable(const QString& path) {
    QFile existing(path);
    if (!existing.exists() || !existing.open(QIODevice::ReadOnly)) return true;  // the write says
    const qint64 limit = 16 * 1024 * 1024;  // far above any design file
    if (existing.size() == 0) return true;
    if (existing.size() > limit) return false;
    const QByteArray bytes = existing.readAll();
    return isDesignFile(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

std::string writeDesignFile(const std::string& path, const DesignFile& file) {
    if (!replaceable(QString::fromStdString(path)))
        return "« " + path +
               " » n'est pas une conception Kelvora : il n'est pas remplacé (choisissez un autre "
               "nom)";
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
