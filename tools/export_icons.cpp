// Writes the window's 32 x 32 icon and its enlargements for the desktop's
// icon theme. Enlargements repeat each pixel (no smoothing): the picture is
// pixel art and must stay crisp.   export_icons OUTDIR NAME
#include <QDir>
#include <QImage>
#include <cstdio>

#include "ui/kelvora.xpm"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR NAME\n", argv[0]);
        return 2;
    }
    const QImage icon(kelvora_xpm);
    for (int size : {32, 64, 128, 256}) {
        const QString dir =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QDir().mkpath(dir);
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!scaled.save(dir + "/" + QString::fromLocal8Bit(argv[2]) + ".png")) return 1;
    }
    return 0;
}
